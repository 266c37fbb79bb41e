#pragma once
// The one in-memory copy of a chip that every command works on.

#include <array>
#include <cstdint>
#include <string>

#include "ChipType.h"

namespace pavok {

inline constexpr std::size_t kImageSize = 65536;
inline constexpr std::size_t kChangeMapSize = 2048;

using Image = std::array<std::uint8_t, kImageSize>;

struct BufferState {
  Image workImage{};       // what the user sees, edits, saves and writes
  Image referenceImage{};  // contents as of the last chip read, file load or reset
  std::array<std::uint8_t, kChangeMapSize> changeMap{};  // 1 = group differs
  std::int32_t chipSize = kChipTypes[kInitialChipTypeIndex].size;
  std::uint8_t unsavedFlag = 0;   // 1 after a line edit not yet saved anywhere
  std::int32_t editLineIndex = 0; // line last opened in the line editor
};

// The process-wide buffer. Tests put it back to its start-up state with
// `Buffer() = BufferState{}`.
BufferState& Buffer();

// Both images to 0xFF and the change map to 0, over the whole arrays.
void ResetBuffer(BufferState& state);

// The plain byte sum of workImage[0, chipSize).
std::uint32_t BufferChecksum(const BufferState& state);

// A sum as every checksum is shown: lower-case hex, no prefix, no leading
// zeros ("7f800").
std::string FormatChecksum(std::uint32_t sum);

// Flags every group of [0, chipSize) whose bytes differ between the images;
// all other flags are cleared.
void ComputeChangeMap(BufferState& state);

}  // namespace pavok
