#include "ChipWrite.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "AdapterReservation.h"
#include "BufferState.h"
#include "ChipType.h"
#include "DeviceChannel.h"
#include "SystemTexts.h"
#include "TransferFailure.h"
#include "WindowOperations.h"

namespace pavok {

namespace {

using GroupData = std::array<std::uint8_t, kGroupSize>;

inline constexpr GroupData kErasedGroup{0xFF, 0xFF, 0xFF, 0xFF};

// Every write request asks for one status byte; its value is not looked at.
inline constexpr std::int32_t kWriteReplyLength = 1;

// The adapter takes a group in two steps: the load request hands it the four
// data bytes (in address order on the wire), the write request tells it where
// on the chip they go. The write is sent only once the load was taken.
bool WriteGroup(std::uint16_t offset, const GroupData& data) {
  const auto low = static_cast<std::uint16_t>(data[0] | data[1] << 8);
  const auto high = static_cast<std::uint16_t>(data[2] | data[3] << 8);
  if (!SendDeviceRequest(REQ_LOAD_DATA, low, high, replyBuffer, kWriteReplyLength)) return false;
  return SendDeviceRequest(REQ_WRITE_DATA, wordAddress(offset), deviceSelect(offset), replyBuffer,
                           kWriteReplyLength);
}

GroupData GroupAt(const Image& image, std::uint16_t offset) {
  GroupData data{};
  for (std::size_t j = 0; j < data.size(); ++j) data[j] = image[offset + j];
  return data;
}

enum class WriteKind { Full, ChangedOnly, Erase };

TransferKind FailedTransfer(WriteKind kind) { return kind == WriteKind::Erase ? TransferKind::Erase : TransferKind::Write; }

// Sends the groups of [0, chipSize) in ascending order: every group, or with
// ChangedOnly the ones flagged in changeMap. The bar shows the last group
// written. Stops at the first failed request.
bool SendGroups(WindowOperations* window, const BufferState& buffer, WriteKind kind) {
  const int groups = buffer.chipSize / kGroupSize;
  for (int g = 0; g < groups; ++g) {
    if (kind == WriteKind::ChangedOnly && buffer.changeMap[static_cast<std::size_t>(g)] == 0) continue;
    const auto offset = static_cast<std::uint16_t>(g * kGroupSize);
    const GroupData data = kind == WriteKind::Erase ? kErasedGroup : GroupAt(buffer.workImage, offset);
    if (!WriteGroup(offset, data)) {
      ReportTransferFailure(window, FailedTransfer(kind), offset);
      return false;
    }
    SetProgressPos(window, g + 1);
  }
  return true;
}

// The groups [first, last) of the page starting at group `first` that a
// write of the kind sends: all of them, or with ChangedOnly the span from
// its first changed group to its last; empty when none changed.
std::pair<int, int> GroupsToSend(const BufferState& buffer, WriteKind kind, int first, int last) {
  if (kind != WriteKind::ChangedOnly) return {first, last};
  const auto changed = [&buffer](int g) { return buffer.changeMap[static_cast<std::size_t>(g)] != 0; };
  while (first < last && !changed(first)) ++first;
  while (last > first && !changed(last - 1)) --last;
  return {first, last};
}

// As SendGroups, a page of `pageSize` bytes in one write: with ChangedOnly
// the changed groups of a page go as one write of the span they cover. The
// bar shows the last group written; a failed page stops the transfer there.
bool SendPages(WindowOperations* window, const BufferState& buffer, WriteKind kind, int pageSize) {
  const int groupsPerPage = pageSize / kGroupSize;
  const std::vector<std::uint8_t> erased(static_cast<std::size_t>(pageSize), 0xFF);
  for (int page = 0; page < buffer.chipSize / kGroupSize; page += groupsPerPage) {
    const auto [first, last] = GroupsToSend(buffer, kind, page, page + groupsPerPage);
    if (first == last) continue;
    const auto offset = static_cast<std::uint16_t>(first * kGroupSize);
    const auto bytes = static_cast<std::size_t>((last - first) * kGroupSize);
    const auto data = kind == WriteKind::Erase ? std::span(erased).first(bytes)
                                               : std::span(buffer.workImage).subspan(offset, bytes);
    if (!SendPageWrite(offset, data)) {
      ReportTransferFailure(window, FailedTransfer(kind), offset);
      return false;
    }
    SetProgressPos(window, last);
  }
  return true;
}

// Groups where the adapter takes no more than a load's bytes, otherwise
// pages, as long as the chip's and as the adapter allows.
bool SendUnits(WindowOperations* window, const BufferState& buffer, WriteKind kind) {
  const AdapterReservation reservation;
  const std::size_t largest = CurrentTransport().LargestWrite();
  if (largest <= kLoadedBytes) return SendGroups(window, buffer, kind);
  const auto pageSize = std::min(static_cast<std::size_t>(PageSizeOf(buffer.chipSize)), largest);
  return SendPages(window, buffer, kind, static_cast<int>(pageSize / kGroupSize * kGroupSize));
}

WriteOutcome ConfirmAndSend(WindowOperations* window, BufferState& buffer, bool erase) {
  if (!AskYesNo(window, erase ? kEraseQuestion : kWriteQuestion)) return WriteOutcome::Declined;
  SetProgressRange(window, 0, buffer.chipSize / kGroupSize);
  // The address-pin boxes are read, but the select byte is made from the
  // offset alone: the larger chips' banks take the bits the pins would set.
  static_cast<void>(IsChecked(window, IDC_A0));
  static_cast<void>(IsChecked(window, IDC_A1));
  SetStatusText(window, kPortOpenText);

  WriteKind kind = erase ? WriteKind::Erase : WriteKind::Full;
  if (!erase && IsChecked(window, IDC_FAST_WRITE)) {
    ComputeChangeMap(buffer);
    kind = WriteKind::ChangedOnly;
  }
  return SendUnits(window, buffer, kind) ? WriteOutcome::Completed : WriteOutcome::DeviceFailed;
}

}  // namespace

WriteOutcome RunWriteChip(bool erase) {
  WindowOperations* window = GetActiveWindow();
  BufferState& buffer = Buffer();
  const WriteOutcome outcome = ConfirmAndSend(window, buffer, erase);
  SetProgressPos(window, 0);
  // Only a buffer write that reached the chip whole has put the edits
  // somewhere safe; a refusal, a failure or an erase leaves them unsaved.
  if (outcome == WriteOutcome::Completed && !erase) buffer.unsavedFlag = 0;
  SetStatusText(window, kPortClosedText);
  return outcome;
}

void WriteChip(bool erase) { RunWriteChip(erase); }

}  // namespace pavok
