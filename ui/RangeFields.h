#pragma once
// The two address fields of the "Очистить" group.

#include <cstdint>

namespace pavok {

class CProgrammerDlg;

// Writes `start` and `end` as four-digit addresses into the range fields.
void ShowRange(std::uint16_t start, std::uint16_t end, CProgrammerDlg& dialog);

}  // namespace pavok
