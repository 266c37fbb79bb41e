#pragma once
// Identifiers of the dialog and its controls. The numbers are the ones the
// dialog template uses, so a control is addressed by the same number
// everywhere: in the template table, the message map and the core logic.

namespace pavok {

using ControlId = int;

inline constexpr ControlId IDD_MAIN = 102;
inline constexpr ControlId IDR_MAINFRAME = 128;

inline constexpr ControlId IDC_STATIC = -1;
inline constexpr ControlId IDOK = 1;
inline constexpr ControlId IDCANCEL = 2;
inline constexpr ControlId IDC_CHIP_TO_BUFFER = 1000;
inline constexpr ControlId IDC_PROGRESS = 1001;
inline constexpr ControlId IDC_CHECKSUM = 1002;
inline constexpr ControlId IDC_STATUS = 1003;
inline constexpr ControlId IDC_RANGE_START = 1004;
inline constexpr ControlId IDC_RANGE_END = 1005;
inline constexpr ControlId IDC_CREDIT = 1006;
inline constexpr ControlId IDC_FILE_TO_BUFFER = 1009;
inline constexpr ControlId IDC_BUFFER_TO_FILE = 1010;
inline constexpr ControlId IDC_ERASE_CHIP = 1012;
inline constexpr ControlId IDC_CLEAR_LINE = 1013;
inline constexpr ControlId IDC_CLEAR_RANGE = 1014;
inline constexpr ControlId IDC_COMPARE = 1015;
inline constexpr ControlId IDC_A0 = 1016;
inline constexpr ControlId IDC_A1 = 1017;
inline constexpr ControlId IDC_BUFFER_TO_CHIP = 1018;
inline constexpr ControlId IDC_FAST_WRITE = 1019;
inline constexpr ControlId IDC_HEX_LIST = 1029;
inline constexpr ControlId IDC_SAVE_LINE = 1030;
inline constexpr ControlId IDC_CHIP_TYPE = 1037;
inline constexpr ControlId IDC_HEX_HEADER = 1038;
inline constexpr ControlId IDC_LINE_EDIT = 1039;
inline constexpr ControlId IDC_CLEAR_BUFFER = 1043;

}  // namespace pavok
