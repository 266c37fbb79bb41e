#include "RangeEdits.h"

#include <algorithm>

#include "HexCodec.h"

namespace pavok {

namespace {

// The address of a field, or the message that refuses it.
std::variant<std::uint16_t, RangeRefused> ParseField(std::string_view text) {
  const AddressResult result = ParseAddress(text);
  if (const auto* address = std::get_if<std::uint16_t>(&result)) return *address;
  if (const auto* bad = std::get_if<BadCharacter>(&result)) return RangeRefused{BadCharacterMessage(bad->position)};
  return RangeRefused{std::string(kAddressLengthMessage)};
}

}  // namespace

ClearRangeResult ClearRange(BufferState& state, std::string_view startText, std::string_view endText) {
  const auto start = ParseField(startText);
  if (const auto* refused = std::get_if<RangeRefused>(&start)) return *refused;
  const auto end = ParseField(endText);
  if (const auto* refused = std::get_if<RangeRefused>(&end)) return *refused;

  AddressRange range{std::get<std::uint16_t>(start), std::get<std::uint16_t>(end)};
  if (range.start > range.end) return RangeRefused{std::string(kRangeOrderMessage)};

  const auto lastAddress = static_cast<std::uint16_t>(state.chipSize - 1);
  // A range wholly beyond the chip asks for nothing the chip has; clearing
  // from 0 instead would wipe exactly what the user did not name.
  if (range.start > lastAddress) return RangeBeyondChip{};
  range.end = std::min(range.end, lastAddress);

  std::fill(state.workImage.begin() + range.start, state.workImage.begin() + range.end + 1, 0xFF);
  return RangeCleared{range};
}

std::string PadAddressText(std::string_view text) {
  std::string padded(text);
  if (padded.size() < kAddressTextLength) padded.insert(0, kAddressTextLength - padded.size(), '0');
  return padded;
}

bool SelectChipType(BufferState& state, int index) {
  if (index < 0 || index >= static_cast<int>(kChipTypes.size())) return false;
  state.chipSize = kChipTypes[static_cast<std::size_t>(index)].size;
  return true;
}

}  // namespace pavok
