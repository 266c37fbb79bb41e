#include "Ch341aTransport.h"

#include <algorithm>
#include <cstdio>

#include "DeviceRequest.h"

namespace pavok {

namespace {

// The block a read request asks for.
constexpr std::size_t kReadBlockBytes = 32;

std::string SelectText(std::uint8_t select) {
  char text[8];
  std::snprintf(text, sizeof text, "%02X", select);
  return text;
}

// The one status byte the write requests answer: 0, done.
ExchangeResult StatusReply(std::span<std::uint8_t> reply) {
  if (reply.empty()) return {true, 0};
  reply[0] = 0;
  return {true, 1};
}

}  // namespace

Ch341aTransport::Ch341aTransport(std::unique_ptr<UsbBackend> backend, UsbDeviceIds ids, Ch341aSpeed speed)
    : connection_(std::move(backend), ids), speed_(speed) {}

OpenResult Ch341aTransport::Open() {
  if (claimed_) return OpenFailure::None;  // held since an earlier open
  lastOpenFailure_ = connection_.Open();
  if (lastOpenFailure_ == OpenFailure::DriverMissing) return {lastOpenFailure_, {}, connection_.backend().Unusable()};
  if (lastOpenFailure_ != OpenFailure::None) return lastOpenFailure_;
  const int claim = connection_.backend().ClaimInterface(kCh341aInterface);
  if (claim < 0) {
    lastOpenFailure_ = FailureOfOpen(claim);
    connection_.Close();
    return lastOpenFailure_;
  }
  claimed_ = true;
  answered_ = {};
  DiscardPendingReplies();
  return OpenFailure::None;
}

void Ch341aTransport::Close() {
  if (!held_) Release();
}

void Ch341aTransport::HoldOpen(bool hold) {
  held_ = hold;
  if (!hold) Release();
}

// Releasing the interface hands it back to the kernel driver it was taken
// from, which may then talk to the CH341A itself: once per transfer.
void Ch341aTransport::Release() {
  if (claimed_) connection_.backend().ReleaseInterface(kCh341aInterface);
  claimed_ = false;
  connection_.Close();
}

std::string Ch341aTransport::Describe() const { return connection_.Describe("CH341A"); }

ExchangeResult Ch341aTransport::Exchange(std::span<const std::uint8_t, 5> request, std::span<std::uint8_t> reply) {
  if (!claimed_) return {};
  exchangeFailure_.clear();
  const DeviceRequest fields = DeviceRequest::FromBytes(request);
  const auto select = static_cast<std::uint8_t>(fields.param2() & 0xFF);
  const auto word = static_cast<std::uint8_t>(fields.param1() & 0xFF);
  switch (fields.code()) {
    case REQ_READ_BLOCK:
      return ReadBlock(select, word, reply);
    case REQ_LOAD_DATA:
      std::copy(request.begin() + 1, request.end(), latch_.begin());
      return StatusReply(reply);
    case REQ_WRITE_DATA: {
      const ExchangeResult written = WritePage(select, word, latch_);
      return written.bytesReturned == latch_.size() ? StatusReply(reply) : ExchangeResult{written.succeeded, 0};
    }
    default:
      return {true, 0};  // a code the adapter does not know gets no answer
  }
}

// A chip that drove the bus answered its select byte. A block of nothing
// but 0xFF, which a silent bus reads too, is asked about every time: a chip
// that was there for the last block may have left the socket since, and its
// absence must not pass for erased bytes.
ExchangeResult Ch341aTransport::ReadBlock(std::uint8_t select, std::uint8_t word, std::span<std::uint8_t> reply) {
  const auto answer = Run(ReadCommand(speed_, select, word, kReadBlockBytes));
  if (!answer) return {};
  const bool drove = std::ranges::any_of(*answer, [](std::uint8_t byte) { return byte != 0xFF; });
  if (drove) answered_[selectBank(select)] = true;
  const std::optional<bool> answers = drove ? std::optional<bool>(true) : AskChip(select);
  if (!answers) return {};
  if (!*answers) return ChipSilent(std::string(kNoAcknowledgeReason) + SelectText(select));
  const std::size_t count = std::min(reply.size(), kReadBlockBytes);
  std::copy_n(answer->begin(), count, reply.begin());
  return {true, count};
}

std::optional<bool> Ch341aTransport::ChipAnswers(std::uint8_t select) {
  if (answered_[selectBank(select)]) return true;
  return AskChip(select);
}

std::optional<bool> Ch341aTransport::AskChip(std::uint8_t select) {
  const auto answer = Run(AcknowledgePollCommand(select, 0));
  if (!answer) return std::nullopt;
  answered_[selectBank(select)] = Acknowledged(answer->front());
  return answered_[selectBank(select)];
}

// The chip takes no other command until its write cycle has ended, and
// acknowledges its select byte again only then. The write itself does not
// ask for the select byte's acknowledge, which would cost an answer of its
// own: a chip not known to be there is asked first.
ExchangeResult Ch341aTransport::WritePage(std::uint8_t select, std::uint8_t word, std::span<const std::uint8_t> data) {
  if (!claimed_) return {};
  exchangeFailure_.clear();
  const std::optional<bool> answers = ChipAnswers(select);
  if (!answers) return {};
  if (!*answers) return ChipSilent(std::string(kNoAcknowledgeReason) + SelectText(select));
  auto polls = Run(PageWriteCommand(speed_, select, word, data, kWriteCycleWait));
  if (!polls) return {};
  return AwaitWriteCycle(select, std::move(*polls), data.size());
}

ExchangeResult Ch341aTransport::AwaitWriteCycle(std::uint8_t select, std::vector<std::uint8_t> polls,
                                                std::size_t written) {
  for (unsigned poll = 0; std::ranges::none_of(polls, Acknowledged); ++poll) {
    if (poll == kMoreAcknowledgePolls) {
      return ChipSilent("the chip did not end its write cycle within " + std::to_string(kWriteCycleLimitMs) + " ms");
    }
    auto answer = Run(AcknowledgePollCommand(select, kPollWaitMs));
    if (!answer) return {};
    polls = std::move(*answer);
  }
  return {true, written};
}

ExchangeResult Ch341aTransport::ChipSilent(std::string reason) {
  exchangeFailure_ = std::move(reason);
  return {true, 0};
}

// The answers come back in one transfer for as long as the packets are
// full: a shorter packet ends a transfer on the bus.
std::optional<std::vector<std::uint8_t>> Ch341aTransport::Run(const Ch341aCommand& command) {
  UsbBackend& usb = connection_.backend();
  std::vector<std::uint8_t> out = command.bytes;
  bool complete = usb.BulkTransfer(kCh341aBulkOut, out, kCh341aTransferTimeoutMilliseconds) ==
                  static_cast<int>(out.size());
  std::vector<std::uint8_t> answer;
  std::size_t awaited = 0;
  for (std::size_t i = 0; complete && i < command.replies.size(); ++i) {
    awaited += command.replies[i];
    if (command.replies[i] == kCh341aPacketSize && i + 1 < command.replies.size()) continue;
    const std::size_t start = answer.size();
    answer.resize(start + awaited);
    const int got = usb.BulkTransfer(kCh341aBulkIn, std::span(answer).subspan(start),
                                     kCh341aTransferTimeoutMilliseconds);
    complete = got == static_cast<int>(awaited);
    awaited = 0;
  }
  if (complete) return answer;
  if (!command.replies.empty()) DiscardPendingReplies();
  return std::nullopt;
}

// After a transfer cut short, answers of this stream may still wait in the
// CH341A, and so may those of a program that ended between sending a
// stream and reading its answer; the next request would take them for its
// own.
void Ch341aTransport::DiscardPendingReplies() {
  std::array<std::uint8_t, kCh341aPacketSize> packet{};
  for (int i = 0; i < 4 && connection_.backend().BulkTransfer(kCh341aBulkIn, packet, kDrainTimeoutMilliseconds) > 0;
       ++i) {
  }
}

}  // namespace pavok
