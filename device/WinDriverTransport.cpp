#include "WinDriverTransport.h"

#include <windows.h>

#include <algorithm>

namespace pavok {

namespace {

OpenFailure ClassifyOpenError(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return OpenFailure::NotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
      return OpenFailure::AccessDenied;
    default:
      return OpenFailure::Other;
  }
}

}  // namespace

WinDriverTransport::WinDriverTransport(std::string_view devicePath) : devicePath_(devicePath) {}

WinDriverTransport::~WinDriverTransport() { Close(); }

OpenResult WinDriverTransport::Open() {
  Close();  // never leak a handle, even if a caller opens twice
  const HANDLE device = CreateFileA(devicePath_.c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (device == INVALID_HANDLE_VALUE) {
    lastOpenFailure_ = ClassifyOpenError(GetLastError());
    return lastOpenFailure_;
  }
  handle_ = device;
  lastOpenFailure_ = OpenFailure::None;
  return OpenFailure::None;
}

ExchangeResult WinDriverTransport::Exchange(std::span<const std::uint8_t, 5> request,
                                            std::span<std::uint8_t> reply) {
  if (!isOpen()) return {};
  const auto offered = static_cast<DWORD>(std::min<std::size_t>(reply.size(), kMaxReplyLength));
  DWORD returned = 0;
  // The driver only reads the request; the API takes it as non-const.
  const BOOL ok = DeviceIoControl(handle_, IOCTL_DEVICE_REQUEST, const_cast<std::uint8_t*>(request.data()),
                                  static_cast<DWORD>(request.size()), reply.data(), offered, &returned, nullptr);
  // A driver cannot have filled more than it was offered; never claim more.
  return {ok != 0, std::min<std::size_t>(returned, offered)};
}

void WinDriverTransport::Close() {
  if (!isOpen()) return;
  CloseHandle(handle_);
  handle_ = nullptr;
}

std::string WinDriverTransport::Describe() const { return "Windows driver device " + devicePath_; }

}  // namespace pavok
