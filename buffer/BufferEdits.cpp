#include "BufferEdits.h"

#include <algorithm>
#include <span>

#include "HexCodec.h"
#include "Translation.h"

namespace pavok {

namespace {

bool IsImageLine(int line) { return line >= 0 && line < kImageLineCount; }

std::span<std::uint8_t, kLineSize> LineBytesOf(BufferState& state, int line) {
  return std::span<std::uint8_t, kLineSize>(state.workImage.data() + line * kLineSize, kLineSize);
}

std::string ParseErrorMessage(const EditLineResult& result) {
  if (const auto* bad = std::get_if<BadCharacter>(&result)) return BadCharacterMessage(bad->position);
  return std::string(kEditLineLengthMessage);
}

}  // namespace

int ViewLineCount(const BufferState& state) { return state.chipSize / kLineSize; }

std::string ViewLineText(const BufferState& state, int line) {
  const auto offset = static_cast<std::size_t>(line * kLineSize);
  const std::span<const std::uint8_t, kLineSize> bytes(state.workImage.data() + offset, kLineSize);
  return FormatHexLine(static_cast<std::uint16_t>(offset), bytes);
}

std::string ChecksumText(const BufferState& state) {
  return FormatText(Tr("КС: %1"), {FormatChecksum(BufferChecksum(state))});
}

std::optional<std::string> SaveLine(BufferState& state, std::string_view text) {
  const EditLineResult parsed = ParseEditLine(text);
  const auto* bytes = std::get_if<LineBytes>(&parsed);
  if (bytes == nullptr) return ParseErrorMessage(parsed);
  if (!IsImageLine(state.editLineIndex)) return std::nullopt;
  std::ranges::copy(*bytes, LineBytesOf(state, state.editLineIndex).begin());
  state.unsavedFlag = 1;
  return std::nullopt;
}

void ClearLine(BufferState& state, int line) {
  if (!IsImageLine(line)) return;
  std::ranges::fill(LineBytesOf(state, line), std::uint8_t{0xFF});
  state.unsavedFlag = 1;
}

}  // namespace pavok
