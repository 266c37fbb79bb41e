#include "Ch341aStream.h"

#include <algorithm>
#include <initializer_list>

namespace pavok {

namespace {

// The most bytes one "out" carries: a packet less its stream code, the
// sub-command and the end.
constexpr std::size_t kMostOutBytes = kCh341aPacketSize - 3;

// Lays sub-commands into packets: a new packet whenever the next one would
// not fit the current one, or its answer would make the packet's answer
// longer than a packet. Every packet closes with the end sub-command.
class StreamWriter {
 public:
  explicit StreamWriter(Ch341aSpeed speed) { Put({static_cast<std::uint8_t>(kStreamSpeed | speed.code)}); }
  StreamWriter() = default;

  void Start() { Put({kStreamStart}); }
  void Stop() { Put({kStreamStop}); }
  void DelayMs(unsigned ms) { Put({static_cast<std::uint8_t>(kStreamDelayMs | (ms & kStreamDelayMask))}); }
  void OutChecked(std::uint8_t byte) { Put({kStreamOut, byte}, 1); }

  void Out(std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
      const std::size_t n = std::min(bytes.size(), kMostOutBytes);
      std::vector<std::uint8_t> subCommand{static_cast<std::uint8_t>(kStreamOut | n)};
      subCommand.insert(subCommand.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
      Put(subCommand);
      bytes = bytes.subspan(n);
    }
  }

  // `count` bytes, each acknowledged.
  void In(std::size_t count) {
    while (count > 0) {
      const std::size_t room = kCh341aPacketSize - packetReply_;
      const std::size_t n = std::min(count, room == 0 ? kCh341aPacketSize : room);
      Put({static_cast<std::uint8_t>(kStreamIn | n)}, n);
      count -= n;
    }
  }
  // One byte, not acknowledged: the last of a read.
  void InLast() { Put({kStreamIn}, 1); }

  // What follows starts a packet of its own.
  void NewPacket() { ClosePacket(); }

  Ch341aCommand Finish() && {
    ClosePacket();
    return std::move(command_);
  }

 private:
  void Put(std::initializer_list<std::uint8_t> subCommand, std::size_t replyBytes = 0) {
    Put(std::span<const std::uint8_t>(subCommand.begin(), subCommand.size()), replyBytes);
  }
  void Put(std::span<const std::uint8_t> subCommand, std::size_t replyBytes = 0) {
    const bool fits = packetUsed_ > 0 && packetUsed_ + subCommand.size() + 1 <= kCh341aPacketSize &&
                      packetReply_ + replyBytes <= kCh341aPacketSize;
    if (!fits) {
      ClosePacket();
      PadToPacketStart();
      command_.bytes.push_back(kCh341aStream);
      packetUsed_ = 1;
    }
    command_.bytes.insert(command_.bytes.end(), subCommand.begin(), subCommand.end());
    packetUsed_ += subCommand.size();
    packetReply_ += replyBytes;
  }

  void ClosePacket() {
    if (packetUsed_ == 0) return;
    command_.bytes.push_back(kStreamEnd);
    if (packetReply_ > 0) command_.replies.push_back(packetReply_);
    packetUsed_ = 0;
    packetReply_ = 0;
  }

  // The chip skips what follows the end of a packet; the next begins at the
  // next 32-byte boundary of the transfer.
  void PadToPacketStart() {
    const std::size_t partial = command_.bytes.size() % kCh341aPacketSize;
    if (partial != 0) command_.bytes.resize(command_.bytes.size() + kCh341aPacketSize - partial, kStreamEnd);
  }

  Ch341aCommand command_;
  std::size_t packetUsed_ = 0;   // bytes in the open packet; 0: none open
  std::size_t packetReply_ = 0;  // bytes the open packet answers
};

// A wait, then the select byte alone: the chip acknowledges it once its
// write cycle has ended.
void Poll(StreamWriter& stream, std::uint8_t select, unsigned waitMs) {
  if (waitMs > 0) stream.DelayMs(waitMs);
  stream.Start();
  stream.OutChecked(select);
  stream.Stop();
}

}  // namespace

std::optional<Ch341aSpeed> Ch341aSpeedFor(unsigned khz) {
  const auto match = std::ranges::find(kCh341aI2cSpeedsKhz, khz);
  if (match == kCh341aI2cSpeedsKhz.end()) return std::nullopt;
  return Ch341aSpeed{static_cast<std::uint8_t>(match - kCh341aI2cSpeedsKhz.begin())};
}

Ch341aCommand ReadCommand(Ch341aSpeed speed, std::uint8_t select, std::uint8_t word, std::size_t count) {
  StreamWriter stream(speed);
  stream.Start();
  stream.Out(std::array{select, word});
  stream.Start();
  stream.Out(std::array{static_cast<std::uint8_t>(select | 1)});
  if (count > 1) stream.In(count - 1);
  if (count > 0) stream.InLast();
  stream.Stop();
  return std::move(stream).Finish();
}

Ch341aCommand PageWriteCommand(Ch341aSpeed speed, std::uint8_t select, std::uint8_t word,
                               std::span<const std::uint8_t> data, WriteCycleWait wait) {
  StreamWriter stream(speed);
  stream.Start();
  std::vector<std::uint8_t> bytes{select, word};
  bytes.insert(bytes.end(), data.begin(), data.end());
  stream.Out(bytes);
  stream.Stop();
  stream.DelayMs(wait.firstPollMs);
  stream.NewPacket();
  Poll(stream, select, 0);
  for (unsigned poll = 0; poll < wait.morePolls; ++poll) Poll(stream, select, wait.pollMs);
  return std::move(stream).Finish();
}

Ch341aCommand AcknowledgePollCommand(std::uint8_t select, unsigned waitMs) {
  StreamWriter stream;
  Poll(stream, select, waitMs);
  return std::move(stream).Finish();
}

}  // namespace pavok
