#pragma once
// The CH341A programmer (USB 1A86:5512) as the adapter: each five-byte
// request is carried out the way the other adapter's firmware does it, as
// I2C transactions in the CH341A's stream command over its bulk endpoints.
// A block read is a random read of 32 bytes; a load keeps the four bytes
// here; a write is a page write of them, after which the transport waits
// out the chip's write cycle by acknowledge polling (the CH341A answers
// whether a byte it sent was acknowledged), so the program above never
// waits. Each open claims the CH341A's interface, each close lets it
// go again.

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

// How the transport waits out a write cycle: the CH341A polls the chip
// first after the longest cycle a 24C02-24C16 datasheet gives, in the same
// stream as the write, so a write is one transfer each way; a chip still
// busy (some older ones take 10 ms) is polled again every millisecond, at
// most kMoreAcknowledgePolls times.
inline constexpr unsigned kWriteCycleWaitMs = 5;
inline constexpr unsigned kPollWaitMs = 1;
inline constexpr unsigned kMoreAcknowledgePolls = 25;

class Ch341aTransport final : public Transport {
 public:
  // The CH341A with these ids, reached through libusb, its I2C clock at
  // `speed`.
  explicit Ch341aTransport(UsbDeviceIds ids = kCh341aIds, Ch341aSpeed speed = {});
  // The same over another backend.
  Ch341aTransport(std::unique_ptr<UsbBackend> backend, UsbDeviceIds ids, Ch341aSpeed speed);

  bool Open() override;
  ExchangeResult Exchange(std::span<const std::uint8_t, 5> request, std::span<std::uint8_t> reply) override;
  void Close() override;
  OpenFailure LastOpenFailure() const override { return lastOpenFailure_; }
  std::string LastExchangeFailure() const override { return exchangeFailure_; }
  bool ReportsAcknowledge() const override { return true; }
  // "CH341A 1A86:5512", with " on bus 1, device 4" once an open found it.
  std::string Describe() const override;
  // By the ids, as every USB adapter: two programs given the same ids reach
  // the same CH341A.
  std::string LockName() const override { return connection_.LockName(); }

 private:
  ExchangeResult ReadBlock(std::uint8_t select, std::uint8_t word, std::span<std::uint8_t> reply);
  ExchangeResult WriteData(std::uint8_t select, std::uint8_t word, std::span<std::uint8_t> reply);
  // The chip's answer to the stream, or nothing when a transfer failed.
  std::optional<std::vector<std::uint8_t>> Run(const Ch341aCommand& command);
  void DiscardPendingReplies();
  // A chip that did not answer: the request fails, and says why.
  ExchangeResult ChipSilent(std::string reason);

  UsbConnection connection_;
  Ch341aSpeed speed_;
  std::array<std::uint8_t, 4> latch_{0xFF, 0xFF, 0xFF, 0xFF};
  bool claimed_ = false;
  OpenFailure lastOpenFailure_ = OpenFailure::None;
  std::string exchangeFailure_;
};

}  // namespace pavok
