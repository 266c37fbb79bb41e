#pragma once
// The CH341A programmer (USB 1A86:5512) as the adapter: each five-byte
// request is carried out the way the other adapter's firmware does it, as
// I2C transactions in the CH341A's stream command over its bulk endpoints,
// and it writes whole pages of the chip (WritePage) besides. A block read
// is a random read of 32 bytes; a load keeps the four bytes here; a write
// is a page write of them. After a page write the transport waits out the
// chip's write cycle by acknowledge polling (the CH341A answers whether a
// byte it sent was acknowledged), so the program above never waits.
//
// An open claims the CH341A's interface (a kernel driver bound to it steps
// aside) and first drains any answer an earlier program left in it; a
// close lets it go again, except while held, so that a whole transfer
// claims it once.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Ch341aStream.h"
#include "Transport.h"
#include "UsbConnection.h"

namespace pavok {

inline constexpr UsbDeviceIds kCh341aIds{0x1A86, 0x5512};
inline constexpr int kCh341aInterface = 0;
inline constexpr std::uint8_t kCh341aBulkOut = 0x02;
inline constexpr std::uint8_t kCh341aBulkIn = 0x82;
inline constexpr unsigned kCh341aTransferTimeoutMilliseconds = 1000;

// How the transport waits out a write cycle: in the same stream as the
// write, the CH341A polls the chip after 3 ms, when the quicker chips are
// done, and twice more a millisecond apart, up to the longest cycle a
// 24C02-24C16 datasheet gives, so a page write is one transfer each way. A
// chip still busy after that (some older ones take 10 ms) is polled again
// every millisecond, in a stream of its own, at most kMoreAcknowledgePolls
// times: the chip has 30 ms in all.
inline constexpr WriteCycleWait kWriteCycleWait{3, 1, 2};
inline constexpr unsigned kPollWaitMs = 1;
inline constexpr unsigned kMoreAcknowledgePolls = 25;
inline constexpr unsigned kWriteCycleLimitMs =
    kWriteCycleWait.firstPollMs + kWriteCycleWait.morePolls * kWriteCycleWait.pollMs + kMoreAcknowledgePolls * kPollWaitMs;
// The largest page of the chips it programs: a page write that long still
// goes out in one packet with its stop and wait.
inline constexpr std::size_t kCh341aLargestWrite = 16;
// How long the open waits for answers an earlier program left behind.
inline constexpr unsigned kDrainTimeoutMilliseconds = 3;

class Ch341aTransport final : public Transport {
 public:
  // The CH341A with these ids, reached through libusb, its I2C clock at
  // `speed`. (Inline: a build without libusb makes it over another backend.)
  explicit Ch341aTransport(UsbDeviceIds ids = kCh341aIds, Ch341aSpeed speed = {})
      : Ch341aTransport(MakeLibusbBackend(), ids, speed) {}
  // The same over another backend.
  Ch341aTransport(std::unique_ptr<UsbBackend> backend, UsbDeviceIds ids, Ch341aSpeed speed);

  OpenResult Open() override;
  ExchangeResult Exchange(std::span<const std::uint8_t, 5> request, std::span<std::uint8_t> reply) override;
  void Close() override;
  std::size_t LargestWrite() override { return kCh341aLargestWrite; }
  ExchangeResult WritePage(std::uint8_t select, std::uint8_t word, std::span<const std::uint8_t> data) override;
  void HoldOpen(bool hold) override;
  OpenFailure LastOpenFailure() const override { return lastOpenFailure_; }
  std::string LastExchangeFailure() const override { return exchangeFailure_; }
  bool ReportsAcknowledge() const override { return true; }
  // "CH341A 1A86:5512", with " on bus 1, device 4" once an open found it.
  std::string Describe() const override;
  // By the ids, as every USB adapter: two programs given the same ids reach
  // the same CH341A.
  std::vector<std::string> LockNames() const override { return {connection_.LockName()}; }

 private:
  ExchangeResult ReadBlock(std::uint8_t select, std::uint8_t word, std::span<std::uint8_t> reply);
  // Whether a chip answers to `select`; asks the bus only until one has in
  // this open. Nothing when a transfer failed.
  std::optional<bool> ChipAnswers(std::uint8_t select);
  // Polls a chip in its write cycle until it acknowledges `select`, given
  // the answers of the polls so far; `written` bytes returned once it does.
  ExchangeResult AwaitWriteCycle(std::uint8_t select, std::vector<std::uint8_t> polls, std::size_t written);
  void Release();
  // The chip's answer to the stream, or nothing when a transfer failed.
  std::optional<std::vector<std::uint8_t>> Run(const Ch341aCommand& command);
  void DiscardPendingReplies();
  // A chip that did not answer: the request fails, and says why.
  ExchangeResult ChipSilent(std::string reason);

  UsbConnection connection_;
  Ch341aSpeed speed_;
  std::array<std::uint8_t, 4> latch_{0xFF, 0xFF, 0xFF, 0xFF};
  std::array<bool, 8> answered_{};  // by bank: a chip acknowledged its select byte in this open
  bool claimed_ = false;
  bool held_ = false;
  OpenFailure lastOpenFailure_ = OpenFailure::None;
  std::string exchangeFailure_;
};

}  // namespace pavok
