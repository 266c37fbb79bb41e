#pragma once
// The adapter in software: decodes the five request bytes and drives an
// EepromModel. The default transport for trying the program and for tests.

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "DeviceRequest.h"
#include "EepromModel.h"
#include "FaultPlan.h"
#include "InPlaceFile.h"
#include "Transport.h"

namespace pavok {

struct RecordedRequest {
  DeviceRequest request;
  std::size_t replyOffered = 0;
  std::size_t bytesReturned = 0;
  bool succeeded = false;
};

class EmulatedAdapter final : public Transport {
 public:
  explicit EmulatedAdapter(EepromModel chip);

  // A chip of `size` bytes whose contents live in `imageFile`: read from it
  // when it exists (a missing file is created full of 0xFF), kept open, and
  // written where it stands, page by page, as the chip takes each write.
  // Returns nothing, with the reason in `error`, when the file cannot be
  // read, written or made or holds other than `size` bytes.
  static std::optional<EmulatedAdapter> WithImageFile(int size, const std::filesystem::path& imageFile,
                                                      std::string* error);

  OpenResult Open() override;
  ExchangeResult Exchange(std::span<const std::uint8_t, 5> request, std::span<std::uint8_t> reply) override;
  void Close() override;
  OpenFailure LastOpenFailure() const override;
  std::string LastExchangeFailure() const override { return exchangeFailure_; }
  std::string Describe() const override;
  // With an image file, the lock of the file itself: two programs given the
  // same file, under any name, drive the same chip. A chip in memory is
  // this program's alone.
  std::vector<std::string> LockNames() const override;

  void SetFaultPlan(const FaultPlan& plan) { faults_ = plan; }
  // What an open would meet now under the fault plan: None while the adapter
  // is attached and may be opened.
  OpenFailure Availability() const;
  // Time each exchange takes, so a person can watch the progress bar move.
  void SetRequestDelay(std::chrono::microseconds delay) { delay_ = delay; }
  void SetRecording(bool on) { recording_ = on; }

  EepromModel& chip() { return chip_; }
  const EepromModel& chip() const { return chip_; }
  const std::vector<RecordedRequest>& requests() const { return requests_; }
  int exchanges() const { return exchanges_; }
  // The writes the chip took.
  int writes() const { return writes_; }
  int opens() const { return opens_; }
  bool isOpen() const { return open_; }

 private:
  std::size_t Answer(const DeviceRequest& request, std::span<std::uint8_t> reply);
  // Writes the page a write landed in to the image file; on failure says
  // why in exchangeFailure_.
  bool SavePage(std::uint8_t select, std::uint8_t word);

  EepromModel chip_;
  std::optional<std::filesystem::path> imageFile_;
  std::shared_ptr<InPlaceFile> image_;
  FaultPlan faults_;
  std::chrono::microseconds delay_{0};
  bool recording_ = true;
  std::vector<RecordedRequest> requests_;
  std::array<std::uint8_t, 4> latch_{0xFF, 0xFF, 0xFF, 0xFF};
  int exchanges_ = 0;
  int writes_ = 0;
  bool chipBusy_ = false;  // in a write cycle that never ends
  int opens_ = 0;
  bool open_ = false;
  OpenFailure lastOpenFailure_ = OpenFailure::None;
  std::string exchangeFailure_;
};

}  // namespace pavok
