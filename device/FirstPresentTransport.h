#pragma once
// The first present of several adapters. An open tries each in turn and
// keeps to the one that opened for as long as it goes on opening, so a
// transfer never moves to another adapter halfway (a write's load and write
// requests must reach the same one); once its open fails, which ends the
// transfer, the next open looks at all of them again. An adapter that is
// there but cannot be opened (closed to this user) stops the search: its
// failure is the one to tell. One whose driver is missing does not: the
// search goes on, and tells the missing driver only when nothing was found.
// Holding open is passed to every candidate.

#include <memory>
#include <vector>

#include "Transport.h"

namespace pavok {

class FirstPresentTransport final : public Transport {
 public:
  explicit FirstPresentTransport(std::vector<std::unique_ptr<Transport>> candidates);

  OpenResult Open() override;
  ExchangeResult Exchange(std::span<const std::uint8_t, 5> request, std::span<std::uint8_t> reply) override;
  void Close() override;
  // The chosen adapter's; before any was chosen, that of the one an open
  // finds.
  std::size_t LargestWrite() override;
  ExchangeResult WritePage(std::uint8_t select, std::uint8_t word, std::span<const std::uint8_t> data) override;
  void HoldOpen(bool hold) override;
  OpenFailure LastOpenFailure() const override { return lastOpenFailure_; }
  std::string LastExchangeFailure() const override;
  bool ReportsAcknowledge() const override { return chosen_ != nullptr && chosen_->ReportsAcknowledge(); }
  // The adapter in use, or the one that refused the last open; otherwise all
  // that are looked for.
  std::string Describe() const override;
  // The locks of every candidate: two programs looking for the same
  // adapters, or one of them asking for one by name, keep off each other.
  std::vector<std::string> LockNames() const override;

 private:
  OpenResult TryOpen(Transport& candidate);

  std::vector<std::unique_ptr<Transport>> candidates_;
  Transport* chosen_ = nullptr;   // the one that opened last
  Transport* refused_ = nullptr;  // there, but its open failed
  OpenFailure lastOpenFailure_ = OpenFailure::None;
};

}  // namespace pavok
