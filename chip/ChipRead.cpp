#include "ChipRead.h"

#include <algorithm>

#include "BlockRead.h"
#include "BufferState.h"
#include "DeviceChannel.h"
#include "RawFile.h"
#include "SystemTexts.h"
#include "WindowOperations.h"

namespace pavok {

namespace {

ReadOutcome ReadIntoBuffer(WindowOperations* window, BufferState& buffer) {
  SetProgressRange(window, 0, buffer.chipSize / kBlockSize);
  if (buffer.unsavedFlag != 0 && !AskYesNo(window, kUnsavedQuestion)) return ReadOutcome::Declined;

  auto dump = RawFile::Create(std::filesystem::path(kDumpFileName));
  if (!dump) {
    ShowMessage(window, kCannotOpenFileMessage);
    return ReadOutcome::DumpNotCreated;
  }
  SetStatusText(window, kPortOpenText);
  // Both images take every block that arrived, also when a later one failed.
  const auto chip = std::span<std::uint8_t>(buffer.workImage).first(static_cast<std::size_t>(buffer.chipSize));
  const std::size_t arrived = ReadBlocks(window, chip, TransferKind::Read);
  std::copy_n(chip.begin(), arrived, buffer.referenceImage.begin());
  if (arrived < chip.size()) return ReadOutcome::DeviceFailed;

  SetProgressPos(window, 0);
  // The dump is a convenience copy; the buffer already holds the chip, so a
  // failed dump write does not undo the read.
  dump->WriteAll(chip);
  buffer.unsavedFlag = 0;
  return ReadOutcome::Completed;
}

}  // namespace

ReadOutcome RunReadChip() {
  WindowOperations* window = GetActiveWindow();
  const ReadOutcome outcome = ReadIntoBuffer(window, Buffer());
  SetStatusText(window, kPortClosedText);
  return outcome;
}

ReadOutcome ReadChip() { return RunReadChip(); }

}  // namespace pavok
