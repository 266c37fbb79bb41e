#include "Ch341aDll.h"

#include <windows.h>

#include <algorithm>

namespace pavok {

namespace {

// The DLL's functions, declared from its published signatures: a device is
// named by its index, a length goes in as the bytes offered and comes back
// as the bytes moved.
using OpenDeviceCall = HANDLE(WINAPI*)(ULONG index);
using CloseDeviceCall = VOID(WINAPI*)(ULONG index);
using DataCall = BOOL(WINAPI*)(ULONG index, PVOID buffer, PULONG length);
using SetTimeoutCall = BOOL(WINAPI*)(ULONG index, ULONG writeMilliseconds, ULONG readMilliseconds);

constexpr std::string_view kInstallDriver =
    "install the CH341 parallel/I2C driver that the CH341A's maker provides for Windows (the serial-port "
    "driver alone is not enough), then try again";

std::string Narrow(std::wstring_view text) {
  std::string narrow;
  for (const wchar_t c : text) narrow += static_cast<char>(c);
  return narrow;
}

class Ch341aDll final : public UsbBackend {
 public:
  Ch341aDll(unsigned index, std::wstring_view dll) : index_(index), dllName_(dll) {}
  ~Ch341aDll() override {
    Close();
    if (module_ != nullptr) FreeLibrary(module_);
  }
  Ch341aDll(const Ch341aDll&) = delete;
  Ch341aDll& operator=(const Ch341aDll&) = delete;

  int Initialise() override {
    const std::string name = Narrow(dllName_);
    if (module_ == nullptr) module_ = LoadLibraryW(std::wstring(dllName_).c_str());
    if (module_ == nullptr) {
      unusable_ = name + (GetLastError() == ERROR_BAD_EXE_FORMAT
                              ? " is not a " + std::to_string(sizeof(void*) * 8) + "-bit DLL"
                              : std::string(" was not found"));
      return kUsbCallNotSupported;
    }
    const bool complete = Find("CH341OpenDevice", openDevice_) && Find("CH341CloseDevice", closeDevice_) &&
                          Find("CH341WriteData", writeData_) && Find("CH341ReadData", readData_) &&
                          Find("CH341SetTimeout", setTimeout_);
    return complete ? 0 : kUsbCallNotSupported;
  }
  std::string Unusable() const override { return "The CH341A's " + unusable_ + ": " + std::string(kInstallDriver) + "."; }

  std::string DeviceName() const override {
    return "number " + std::to_string(index_) + " through " + Narrow(dllName_);
  }

  // The driver lists no devices, it numbers them: whether the one asked for
  // is there, only opening it tells.
  std::vector<UsbDeviceIds> Enumerate() override { return {kCh341aIds}; }
  int Open(std::size_t) override {
    if (openDevice_(index_) == INVALID_HANDLE_VALUE) return kUsbErrorNotFound;
    open_ = true;
    timeoutMs_ = 0;
    return 0;
  }
  int ControlTransfer(const UsbControlSetup&, std::span<std::uint8_t>, unsigned) override {
    return kUsbCallNotSupported;
  }
  // While the DLL has the device open, no other program reaches it.
  int ClaimInterface(int) override { return 0; }
  int BulkTransfer(std::uint8_t endpoint, std::span<std::uint8_t> data, unsigned timeoutMilliseconds) override {
    if (!open_) return kUsbErrorNoDevice;
    if (timeoutMilliseconds != timeoutMs_ && setTimeout_(index_, timeoutMilliseconds, timeoutMilliseconds)) {
      timeoutMs_ = timeoutMilliseconds;
    }
    ULONG length = static_cast<ULONG>(data.size());
    const DataCall call = (endpoint & 0x80) != 0 ? readData_ : writeData_;
    if (!call(index_, data.data(), &length)) return kUsbErrorIo;
    return static_cast<int>(std::min<std::size_t>(length, data.size()));
  }
  void Close() override {
    if (open_) closeDevice_(index_);
    open_ = false;
  }

 private:
  template <typename Call>
  bool Find(const char* function, Call& call) {
    call = reinterpret_cast<Call>(reinterpret_cast<void*>(GetProcAddress(module_, function)));
    if (call == nullptr) unusable_ = Narrow(dllName_) + " has no function " + function;
    return call != nullptr;
  }

  ULONG index_;
  std::wstring dllName_;
  HMODULE module_ = nullptr;
  OpenDeviceCall openDevice_ = nullptr;
  CloseDeviceCall closeDevice_ = nullptr;
  DataCall writeData_ = nullptr;
  DataCall readData_ = nullptr;
  SetTimeoutCall setTimeout_ = nullptr;
  std::string unusable_;
  unsigned timeoutMs_ = 0;
  bool open_ = false;
};

}  // namespace

std::unique_ptr<Ch341aTransport> MakeCh341aDllTransport(unsigned index, Ch341aSpeed speed, std::wstring_view dll) {
  return std::make_unique<Ch341aTransport>(std::make_unique<Ch341aDll>(index, dll), kCh341aIds, speed);
}

}  // namespace pavok
