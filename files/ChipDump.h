#pragma once
// The raw dump every complete read leaves in the current directory. It is
// replaced whole, like the user's files, so a read that fails, is refused
// or is killed leaves the earlier dump as it was.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "FileReplace.h"

namespace pavok {

inline constexpr std::string_view kDumpFileName = "temp.bin";

// Replaces the dump with `chip`; the reason when it could not.
std::optional<WriteError> WriteChipDump(std::span<const std::uint8_t> chip);

}  // namespace pavok
