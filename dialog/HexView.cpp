// The hex view and the line editor: RenderHexView, ShowChecksum and the
// handlers of the hex list, "Сохр." and "строку".

#include "BufferEdits.h"
#include "CProgrammerDlg.h"
#include "HexCodec.h"

namespace pavok {

void CProgrammerDlg::RenderHexView() {
  hexLines_.clear();
  hexLines_.reserve(static_cast<std::size_t>(ViewLineCount(Buffer())));
  for (int line = 0; line < ViewLineCount(Buffer()); ++line) hexLines_.push_back(ViewLineText(Buffer(), line));
  controls_.SetListLines(IDC_HEX_LIST, hexLines_);
  ShowChecksum();
}

void CProgrammerDlg::EmptyHexView() {
  hexLines_.clear();
  controls_.SetListLines(IDC_HEX_LIST, hexLines_);
}

void CProgrammerDlg::ShowChecksum() { SetDlgItemText(IDC_CHECKSUM, ChecksumText(Buffer())); }

// Rewrites entry `line` in place, so neither the order nor the selection
// moves. A line the view does not show (beyond a smaller chip) is left out.
void CProgrammerDlg::RedrawLine(int line) {
  if (line < 0 || line >= static_cast<int>(hexLines_.size())) return;
  hexLines_[static_cast<std::size_t>(line)] = ViewLineText(Buffer(), line);
  controls_.SetListLine(IDC_HEX_LIST, line, hexLines_[static_cast<std::size_t>(line)]);
}

void CProgrammerDlg::OnHexListSelChange() {
  const int line = controls_.GetListSelection(IDC_HEX_LIST);
  if (line < 0) return;
  SetDlgItemText(IDC_RANGE_START, FormatAddress(static_cast<std::uint16_t>(line * kLineSize)));
}

// The editor takes the entry as the list shows it, which is the buffer as of
// the last redraw.
void CProgrammerDlg::OnHexListDblClk() {
  const int line = controls_.GetListSelection(IDC_HEX_LIST);
  if (line < 0 || line >= static_cast<int>(hexLines_.size())) return;
  Buffer().editLineIndex = line;
  SetDlgItemText(IDC_LINE_EDIT, std::string_view(hexLines_[static_cast<std::size_t>(line)]).substr(kEditLineOffset));
}

void CProgrammerDlg::OnSaveLine() {
  if (const std::optional<std::string> refusal = SaveLine(Buffer(), GetDlgItemText(IDC_LINE_EDIT))) {
    ShowMessage(GetActiveWindow(), *refusal);
    return;
  }
  RedrawLine(Buffer().editLineIndex);
  SetDlgItemText(IDC_LINE_EDIT, "");
  ShowChecksum();
}

void CProgrammerDlg::OnClearLine() {
  const int line = controls_.GetListSelection(IDC_HEX_LIST);
  if (line < 0) return;
  ClearLine(Buffer(), line);
  RedrawLine(line);
  SetDlgItemText(IDC_LINE_EDIT, "");
  ShowChecksum();
}

}  // namespace pavok
