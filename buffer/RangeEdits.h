#pragma once
// The buffer commands that act on an address range or on the whole buffer:
// clear range, clear buffer, chip-type selection, and the padding of the
// range fields.

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "BufferState.h"

namespace pavok {

inline constexpr std::string_view kRangeOrderMessage = "Начальный адрес меньше конечного !";
inline constexpr std::string_view kClearBufferQuestion = "Очистить буфер ?";
inline constexpr std::string_view kChipTypeErrorMessage = "Error GetCurSel";

struct AddressRange {
  std::uint16_t start = 0;
  std::uint16_t end = 0;
  bool operator==(const AddressRange&) const = default;
};

// The range was cleared; the fields are to show `cleared` (end clamped to
// the chip).
struct RangeCleared {
  AddressRange cleared;
};
// The range starts beyond the chip: nothing was cleared and the fields keep
// what the user typed.
struct RangeBeyondChip {};
// A field or the order was wrong: `message` says which; nothing changed.
struct RangeRefused {
  std::string message;
};

using ClearRangeResult = std::variant<RangeCleared, RangeBeyondChip, RangeRefused>;

// Validates the start field completely, then the end field, then their
// order; clamps the end to the chip and sets workImage[start..end] to 0xFF.
// A bad character is reported by its zero-based position in its own field.
ClearRangeResult ClearRange(BufferState& state, std::string_view startText, std::string_view endText);

// The text a range field shows after losing the focus: zeros in front up to
// four characters; not validated, so a bad character stays for ClearRange to
// report.
std::string PadAddressText(std::string_view text);

// Selects row `index` of the chip-type table. False, and chipSize kept, for
// an index outside the table.
bool SelectChipType(BufferState& state, int index);

}  // namespace pavok
