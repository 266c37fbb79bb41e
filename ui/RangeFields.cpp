#include "RangeFields.h"

#include "CProgrammerDlg.h"
#include "HexCodec.h"

namespace pavok {

void ShowRange(std::uint16_t start, std::uint16_t end, CProgrammerDlg& dialog) {
  dialog.SetDlgItemText(IDC_RANGE_START, FormatAddress(start));
  dialog.SetDlgItemText(IDC_RANGE_END, FormatAddress(end));
}

}  // namespace pavok
