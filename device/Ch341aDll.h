#pragma once
// The CH341A on Windows, through the DLL that its maker's parallel/I2C
// driver installs: a UsbBackend whose bulk transfers are the DLL's raw
// write and read calls, so that Ch341aTransport runs the very same streams,
// waits and drain over it as over libusb. The DLL is loaded when the first
// open asks for it, not linked: a program without the driver still starts,
// and says what to install. Built on Windows only.

#include <memory>
#include <string_view>

#include "Ch341aTransport.h"

namespace pavok {

// The DLL that matches this program's bitness.
inline constexpr std::wstring_view kCh341aDllName =
    sizeof(void*) == 8 ? std::wstring_view(L"CH341DLLA64.DLL") : std::wstring_view(L"CH341DLL.DLL");

// The CH341A numbered `index` by the driver (0 for the first plugged in),
// its I2C clock at `speed`; `dll` names the DLL (tests give others).
std::unique_ptr<Ch341aTransport> MakeCh341aDllTransport(unsigned index, Ch341aSpeed speed,
                                                        std::wstring_view dll = kCh341aDllName);

}  // namespace pavok
