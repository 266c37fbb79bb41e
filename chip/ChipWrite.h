#pragma once
// Writing the buffer to the chip (every group, or with "Быстрая запись" only
// the groups that differ from the reference image) and erasing the chip.

#include <string_view>

namespace pavok {

inline constexpr std::string_view kWriteQuestion = "Записать буфер в м/сх ?";
inline constexpr std::string_view kEraseQuestion = "Очистить м/сх ?";

enum class WriteOutcome {
  Completed,     // every group meant to be sent was written
  Declined,      // the user answered No
  DeviceFailed,  // a request failed; the groups before it are on the chip
};

WriteOutcome RunWriteChip(bool erase);

// The dialog's commands: erase false writes the buffer, true erases the chip.
void WriteChip(bool erase);

}  // namespace pavok
