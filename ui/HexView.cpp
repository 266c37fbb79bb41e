// The hex view and the line editor: RenderHexView, ShowChecksum and the
// handlers of the hex list, "Сохр." and "строку".

#include "HexView.h"

#include <QListWidget>
#include <QSignalBlocker>
#include <optional>

#include "BufferEdits.h"
#include "CProgrammerDlg.h"
#include "HexCodec.h"
#include "Narrowing.h"

namespace pavok {

namespace {

QListWidget& HexList(const CProgrammerDlg& dialog) { return dialog.Item<QListWidget>(IDC_HEX_LIST); }

// The selected entry, which need not be Qt's current row: after a rebuild a
// row can be current while none is selected.
std::optional<int> SelectedLine(const QListWidget& list) {
  const QList<QListWidgetItem*> selected = list.selectedItems();
  if (selected.isEmpty()) return std::nullopt;
  return list.row(selected.constFirst());
}

// Rewrites entry `line` in place, so neither the order nor the selection
// moves. A line the view does not show (beyond a smaller chip) is left out.
void RedrawLine(QListWidget& list, int line) {
  if (QListWidgetItem* entry = list.item(line)) entry->setText(QString::fromStdString(ViewLineText(Buffer(), line)));
}

}  // namespace

void RenderHexView(CProgrammerDlg& dialog) {
  QListWidget& list = HexList(dialog);
  QStringList lines;
  for (int line = 0; line < ViewLineCount(Buffer()); ++line) {
    lines << QString::fromStdString(ViewLineText(Buffer(), line));
  }
  EmptyHexView(dialog);
  {
    const QSignalBlocker silent(list);
    list.addItems(lines);
  }
  ShowChecksum(dialog);
}

void EmptyHexView(CProgrammerDlg& dialog) {
  QListWidget& list = HexList(dialog);
  const QSignalBlocker silent(list);
  list.clear();
}

void ShowChecksum(CProgrammerDlg& dialog) { dialog.SetDlgItemText(IDC_CHECKSUM, ChecksumText(Buffer())); }

void CProgrammerDlg::OnHexListSelChange() {
  const std::optional<int> line = SelectedLine(HexList(*this));
  if (!line) return;
  SetDlgItemText(IDC_RANGE_START, FormatAddress(static_cast<std::uint16_t>(*line * kLineSize)));
}

void CProgrammerDlg::OnHexListDblClk() {
  QListWidget& list = HexList(*this);
  const std::optional<int> line = SelectedLine(list);
  if (!line) return;
  Buffer().editLineIndex = *line;
  const std::string entry = NarrowToWindows1251(list.item(*line)->text());
  SetDlgItemText(IDC_LINE_EDIT, std::string_view(entry).substr(kEditLineOffset));
}

void CProgrammerDlg::OnSaveLine() {
  if (const std::optional<std::string> refusal = SaveLine(Buffer(), GetDlgItemText(IDC_LINE_EDIT))) {
    ShowMessage(GetActiveWindow(), *refusal);
    return;
  }
  RedrawLine(HexList(*this), Buffer().editLineIndex);
  SetDlgItemText(IDC_LINE_EDIT, "");
  ShowChecksum(*this);
}

void CProgrammerDlg::OnClearLine() {
  QListWidget& list = HexList(*this);
  const std::optional<int> line = SelectedLine(list);
  if (!line) return;
  ClearLine(Buffer(), *line);
  RedrawLine(list, *line);
  SetDlgItemText(IDC_LINE_EDIT, "");
  ShowChecksum(*this);
}

}  // namespace pavok
