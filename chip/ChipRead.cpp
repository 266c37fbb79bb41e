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

// Every block of the chip into both images. Returns false at the first
// failed request, keeping the blocks that arrived before it.
bool ReadAllBlocks(WindowOperations* window, BufferState& buffer) {
  const int blocks = buffer.chipSize / kBlockSize;
  for (int i = 0; i < blocks; ++i) {
    const auto offset = static_cast<std::uint16_t>(i * kBlockSize);
    if (!RequestBlock(offset)) return false;
    const auto reply = BlockReply();
    std::copy(reply.begin(), reply.end(), buffer.workImage.begin() + offset);
    std::copy(reply.begin(), reply.end(), buffer.referenceImage.begin() + offset);
    SetProgressPos(window, i + 1);
  }
  return true;
}

ReadOutcome ReadIntoBuffer(WindowOperations* window, BufferState& buffer) {
  SetProgressRange(window, 0, buffer.chipSize / kBlockSize);
  if (buffer.unsavedFlag != 0 && !AskYesNo(window, kUnsavedQuestion)) return ReadOutcome::Declined;

  auto dump = RawFile::Create(std::string(kDumpFileName));
  if (!dump) {
    ShowMessage(window, kCannotOpenFileMessage);
    return ReadOutcome::DumpNotCreated;
  }
  SetStatusText(window, kPortOpenText);
  replyLength = kBlockSize;
  if (!ReadAllBlocks(window, buffer)) return ReadOutcome::DeviceFailed;

  SetProgressPos(window, 0);
  // The dump is a convenience copy; the buffer already holds the chip, so a
  // failed dump write does not undo the read.
  dump->WriteAll(std::span<const std::uint8_t>(buffer.workImage).first(static_cast<std::size_t>(buffer.chipSize)));
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

void ReadChip() { RunReadChip(); }

}  // namespace pavok
