#include "ChipDump.h"

#include <filesystem>

namespace pavok {

// A copy for convenience, which the user can make again by reading: it need
// only outlive the program, not a power loss.
std::optional<WriteError> WriteChipDump(std::span<const std::uint8_t> chip) {
  return WriteWholeFile(std::filesystem::path(kDumpFileName), chip, Durability::ProgramEnd);
}

}  // namespace pavok
