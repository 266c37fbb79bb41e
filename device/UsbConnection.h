#pragma once
// Finding a USB adapter by its ids and opening it through a UsbBackend, as
// every libusb transport does for each request: the library's context is
// made at the first open and kept, the bus is listed afresh every time, since
// the adapter may come and go between requests.

#include <memory>
#include <string>
#include <string_view>

#include "Transport.h"
#include "UsbBackend.h"

namespace pavok {

class UsbConnection {
 public:
  UsbConnection(std::unique_ptr<UsbBackend> backend, UsbDeviceIds ids);
  ~UsbConnection();
  UsbConnection(const UsbConnection&) = delete;
  UsbConnection& operator=(const UsbConnection&) = delete;

  // Opens the first device with the ids; None when it is open.
  OpenFailure Open();
  void Close();
  bool isOpen() const { return open_; }

  UsbBackend& backend() { return *backend_; }
  UsbDeviceIds ids() const { return ids_; }
  // "NAME 03EB:21FF", and " on bus B, device D" once an open found it there;
  // "NAME" and the backend's own name for it where it has one.
  std::string Describe(std::string_view name) const;
  // One lock for all devices with these ids: the open takes the first one
  // listed, so two programs given the same ids reach the same device.
  std::string LockName() const;

 private:
  std::unique_ptr<UsbBackend> backend_;
  UsbDeviceIds ids_;
  UsbDevicePlace place_;  // where the last open found the device
  bool initialised_ = false;
  bool open_ = false;
};

// What an open that failed with one of the library's error codes means to a
// person: absent, closed to this user, or something else.
OpenFailure FailureOfOpen(int libusbError);

}  // namespace pavok
