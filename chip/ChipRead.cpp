#include "ChipRead.h"

#include <algorithm>
#include <string>

#include "BlockRead.h"
#include "BufferState.h"
#include "DeviceChannel.h"
#include "SystemTexts.h"
#include "Translation.h"
#include "WindowOperations.h"

namespace pavok {

namespace {

std::error_code lastDumpFailure;

// The dump of a complete read; the buffer already holds the chip, so a
// failed dump does not undo the read, but it is reported.
ReadOutcome WriteDump(WindowOperations* window, std::span<const std::uint8_t> chip) {
  const auto failure = WriteChipDump(chip);
  lastDumpFailure = failure ? failure->reason : std::error_code{};
  if (!failure) return ReadOutcome::Completed;
  ShowMessage(window, Tr(kFileWriteErrorMessage) + " " + std::string(kDumpFileName));
  return ReadOutcome::DumpNotWritten;
}

ReadOutcome ReadIntoBuffer(WindowOperations* window, BufferState& buffer) {
  SetProgressRange(window, 0, buffer.chipSize / kBlockSize);
  if (buffer.unsavedFlag != 0 && !AskYesNo(window, kUnsavedQuestion)) return ReadOutcome::Declined;

  SetStatusText(window, kPortOpenText);
  // Both images take every block that arrived, also when a later one failed.
  const auto chip = std::span<std::uint8_t>(buffer.workImage).first(static_cast<std::size_t>(buffer.chipSize));
  const std::size_t arrived = ReadBlocks(window, chip, TransferKind::Read);
  std::copy_n(chip.begin(), arrived, buffer.referenceImage.begin());
  if (arrived < chip.size()) return ReadOutcome::DeviceFailed;

  SetProgressPos(window, 0);
  buffer.unsavedFlag = 0;
  return WriteDump(window, chip);
}

}  // namespace

ReadOutcome RunReadChip() {
  WindowOperations* window = GetActiveWindow();
  const ReadOutcome outcome = ReadIntoBuffer(window, Buffer());
  SetStatusText(window, kPortClosedText);
  return outcome;
}

std::error_code LastDumpFailure() { return lastDumpFailure; }

ReadOutcome ReadChip() { return RunReadChip(); }

}  // namespace pavok
