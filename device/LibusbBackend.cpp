// UsbBackend over libusb-1.0: the only file that calls the library.

#include <libusb.h>

#include <limits>

#include "UsbBackend.h"

namespace pavok {

static_assert(kUsbErrorIo == LIBUSB_ERROR_IO && kUsbErrorAccess == LIBUSB_ERROR_ACCESS &&
              kUsbErrorNoDevice == LIBUSB_ERROR_NO_DEVICE && kUsbErrorNotFound == LIBUSB_ERROR_NOT_FOUND &&
              kUsbCallNotSupported == LIBUSB_ERROR_NOT_SUPPORTED);

namespace {

class LibusbBackend final : public UsbBackend {
 public:
  LibusbBackend() = default;
  LibusbBackend(const LibusbBackend&) = delete;
  LibusbBackend& operator=(const LibusbBackend&) = delete;
  ~LibusbBackend() override {
    Close();
    FreeList();
    if (context_ != nullptr) libusb_exit(context_);
  }

  int Initialise() override {
    if (context_ != nullptr) return LIBUSB_SUCCESS;
    return libusb_init(&context_);
  }

  std::vector<UsbDeviceIds> Enumerate() override {
    FreeList();
    const ssize_t count = libusb_get_device_list(context_, &list_);
    if (count < 0) {
      list_ = nullptr;
      return {};
    }
    listSize_ = static_cast<std::size_t>(count);
    std::vector<UsbDeviceIds> ids;
    for (std::size_t i = 0; i < listSize_; ++i) ids.push_back(IdsOf(list_[i]));
    return ids;
  }

  int Open(std::size_t position) override {
    Close();
    if (list_ == nullptr || position >= listSize_) return LIBUSB_ERROR_NOT_FOUND;
    const int result = libusb_open(list_[position], &handle_);
    FreeList();  // the open handle keeps its own reference to the device
    return result;
  }

  int ControlTransfer(const UsbControlSetup& setup, std::span<std::uint8_t> data,
                      unsigned timeoutMilliseconds) override {
    if (handle_ == nullptr) return LIBUSB_ERROR_NO_DEVICE;
    if (data.size() > std::numeric_limits<std::uint16_t>::max()) return LIBUSB_ERROR_INVALID_PARAM;
    return libusb_control_transfer(handle_, setup.requestType, setup.request, setup.value, setup.index, data.data(),
                                   static_cast<std::uint16_t>(data.size()), timeoutMilliseconds);
  }

  int ClaimInterface(int interfaceNumber) override {
    if (handle_ == nullptr) return LIBUSB_ERROR_NO_DEVICE;
    // Where the platform cannot detach a kernel driver the claim itself says so.
    libusb_set_auto_detach_kernel_driver(handle_, 1);
    return libusb_claim_interface(handle_, interfaceNumber);
  }

  void ReleaseInterface(int interfaceNumber) override {
    if (handle_ != nullptr) libusb_release_interface(handle_, interfaceNumber);
  }

  int BulkTransfer(std::uint8_t endpoint, std::span<std::uint8_t> data, unsigned timeoutMilliseconds) override {
    if (handle_ == nullptr) return LIBUSB_ERROR_NO_DEVICE;
    if (data.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) return LIBUSB_ERROR_INVALID_PARAM;
    int transferred = 0;
    const int result = libusb_bulk_transfer(handle_, endpoint, data.data(), static_cast<int>(data.size()),
                                            &transferred, timeoutMilliseconds);
    return result < 0 ? result : transferred;
  }

  void Close() override {
    if (handle_ == nullptr) return;
    libusb_close(handle_);
    handle_ = nullptr;
  }

  UsbDevicePlace OpenDevicePlace() const override {
    if (handle_ == nullptr) return {};
    libusb_device* device = libusb_get_device(handle_);
    return {libusb_get_bus_number(device), libusb_get_device_address(device)};
  }

 private:
  static UsbDeviceIds IdsOf(libusb_device* device) {
    libusb_device_descriptor descriptor{};
    if (libusb_get_device_descriptor(device, &descriptor) != LIBUSB_SUCCESS) return {};
    return {descriptor.idVendor, descriptor.idProduct};
  }

  void FreeList() {
    if (list_ != nullptr) libusb_free_device_list(list_, 1);
    list_ = nullptr;
    listSize_ = 0;
  }

  libusb_context* context_ = nullptr;
  libusb_device** list_ = nullptr;
  std::size_t listSize_ = 0;
  libusb_device_handle* handle_ = nullptr;
};

}  // namespace

std::unique_ptr<UsbBackend> MakeLibusbBackend() { return std::make_unique<LibusbBackend>(); }

}  // namespace pavok
