#pragma once
// The few calls of the USB access library that the adapter transports make,
// behind an interface so the transports' logic can be tried without a USB
// bus. Results are the library's own: 0 or a byte count on success, one of
// its negative error codes otherwise.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace pavok {

// The ids a device reports in its device descriptor.
struct UsbDeviceIds {
  std::uint16_t vendorId = 0;
  std::uint16_t productId = 0;
  friend bool operator==(const UsbDeviceIds&, const UsbDeviceIds&) = default;
};

// Where a device sits: its bus and its device number on that bus (both 0
// when unknown).
struct UsbDevicePlace {
  std::uint8_t bus = 0;
  std::uint8_t device = 0;
};

// The setup fields of one control transfer; wLength is the data's size.
struct UsbControlSetup {
  std::uint8_t requestType = 0;
  std::uint8_t request = 0;
  std::uint16_t value = 0;
  std::uint16_t index = 0;
};

// The library's codes the transports tell apart, as numbers, so that a
// backend over another driver can give them too.
inline constexpr int kUsbErrorIo = -1;
inline constexpr int kUsbErrorAccess = -3;
inline constexpr int kUsbErrorNoDevice = -4;
inline constexpr int kUsbErrorNotFound = -5;
// The library's code for a call the backend does not offer; from
// Initialise, a driver that is missing or cannot be used.
inline constexpr int kUsbCallNotSupported = -12;

class UsbBackend {
 public:
  virtual ~UsbBackend() = default;

  // Makes the backend's own library context. Called before anything else.
  virtual int Initialise() = 0;
  // After Initialise failed with kUsbCallNotSupported: what the user must
  // install or mend, in a sentence.
  virtual std::string Unusable() const { return {}; }
  // Every attached device, in the order the library lists them; empty when
  // the bus cannot be listed.
  virtual std::vector<UsbDeviceIds> Enumerate() = 0;
  // Opens the device at `position` of the last Enumerate().
  virtual int Open(std::size_t position) = 0;
  // One control transfer on the open device; returns the bytes moved.
  virtual int ControlTransfer(const UsbControlSetup& setup, std::span<std::uint8_t> data,
                              unsigned timeoutMilliseconds) = 0;
  // Claims `interfaceNumber` of the open device for bulk transfers; a kernel
  // driver bound to it steps aside until the interface is released.
  virtual int ClaimInterface(int /*interfaceNumber*/) { return kUsbCallNotSupported; }
  virtual void ReleaseInterface(int /*interfaceNumber*/) {}
  // One bulk transfer on `endpoint` of the open device (bit 7 set: from the
  // device into `data`); returns the bytes moved, which may be fewer than
  // asked for.
  virtual int BulkTransfer(std::uint8_t /*endpoint*/, std::span<std::uint8_t> /*data*/,
                           unsigned /*timeoutMilliseconds*/) {
    return kUsbCallNotSupported;
  }
  // Releases the open device, if any.
  virtual void Close() = 0;
  // Where the open device sits; unknown when none is open.
  virtual UsbDevicePlace OpenDevicePlace() const { return {}; }
  // How the backend names the device, where its driver numbers devices
  // instead of going by the USB ids; empty where the ids name it.
  virtual std::string DeviceName() const { return {}; }
};

// The backend over the real library (built only where the library is found).
std::unique_ptr<UsbBackend> MakeLibusbBackend();

}  // namespace pavok
