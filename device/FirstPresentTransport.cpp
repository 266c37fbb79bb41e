#include "FirstPresentTransport.h"

namespace pavok {

FirstPresentTransport::FirstPresentTransport(std::vector<std::unique_ptr<Transport>> candidates)
    : candidates_(std::move(candidates)) {}

OpenResult FirstPresentTransport::Open() {
  if (chosen_ != nullptr) return TryOpen(*chosen_);
  OpenResult missingDriver;
  for (const auto& candidate : candidates_) {
    OpenResult result = TryOpen(*candidate);
    if (result || refused_ != nullptr) return result;
    if (result.failure == OpenFailure::DriverMissing) missingDriver = std::move(result);
  }
  // Nothing found: an adapter may be plugged in whose driver is missing.
  if (missingDriver) missingDriver.failure = OpenFailure::NotFound;
  lastOpenFailure_ = missingDriver.failure;
  return missingDriver;
}

OpenResult FirstPresentTransport::TryOpen(Transport& candidate) {
  chosen_ = nullptr;
  refused_ = nullptr;
  OpenResult result = candidate.Open();
  lastOpenFailure_ = result.failure;
  if (result) {
    chosen_ = &candidate;
  } else if (lastOpenFailure_ != OpenFailure::NotFound && lastOpenFailure_ != OpenFailure::DriverMissing) {
    refused_ = &candidate;
  }
  return result;
}

ExchangeResult FirstPresentTransport::Exchange(std::span<const std::uint8_t, 5> request,
                                               std::span<std::uint8_t> reply) {
  return chosen_ != nullptr ? chosen_->Exchange(request, reply) : ExchangeResult{};
}

void FirstPresentTransport::Close() {
  if (chosen_ != nullptr) chosen_->Close();
}

std::size_t FirstPresentTransport::LargestWrite() {
  if (chosen_ == nullptr && Open()) Close();
  return chosen_ != nullptr ? chosen_->LargestWrite() : kLoadedBytes;
}

ExchangeResult FirstPresentTransport::WritePage(std::uint8_t select, std::uint8_t word,
                                                std::span<const std::uint8_t> data) {
  return chosen_ != nullptr ? chosen_->WritePage(select, word, data) : ExchangeResult{};
}

void FirstPresentTransport::HoldOpen(bool hold) {
  for (const auto& candidate : candidates_) candidate->HoldOpen(hold);
}

std::string FirstPresentTransport::LastExchangeFailure() const {
  return chosen_ != nullptr ? chosen_->LastExchangeFailure() : std::string{};
}

std::string FirstPresentTransport::Describe() const {
  if (chosen_ != nullptr) return chosen_->Describe();
  if (refused_ != nullptr) return refused_->Describe();
  std::string text;
  for (const auto& candidate : candidates_) text += (text.empty() ? "" : " or ") + candidate->Describe();
  return text;
}

std::vector<std::string> FirstPresentTransport::LockNames() const {
  std::vector<std::string> names;
  for (const auto& candidate : candidates_) {
    for (std::string& name : candidate->LockNames()) names.push_back(std::move(name));
  }
  return names;
}

}  // namespace pavok
