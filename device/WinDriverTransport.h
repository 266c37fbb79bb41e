#pragma once
// The adapter behind its Windows driver: the driver exposes a device path,
// and each exchange is one device-control call with the five request bytes.
// Built on Windows only.

#include <string>
#include <string_view>

#include "DeviceRequest.h"
#include "Transport.h"

namespace pavok {

class WinDriverTransport final : public Transport {
 public:
  // `devicePath` is the driver's device; another path serves tests.
  explicit WinDriverTransport(std::string_view devicePath = kDevicePath);
  ~WinDriverTransport() override;
  WinDriverTransport(const WinDriverTransport&) = delete;
  WinDriverTransport& operator=(const WinDriverTransport&) = delete;

  OpenResult Open() override;
  ExchangeResult Exchange(std::span<const std::uint8_t, 5> request, std::span<std::uint8_t> reply) override;
  void Close() override;
  OpenFailure LastOpenFailure() const override { return lastOpenFailure_; }
  std::string Describe() const override;
  std::vector<std::string> LockNames() const override { return {"avr309usb-0"}; }

  bool isOpen() const { return handle_ != nullptr; }

 private:
  std::string devicePath_;
  void* handle_ = nullptr;  // the device while open; null otherwise
  OpenFailure lastOpenFailure_ = OpenFailure::None;
};

}  // namespace pavok
