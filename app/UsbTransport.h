#pragma once
// The transport to the real adapter on this platform.

#include <memory>
#include <string>

#include "Transport.h"
#include "UsbId.h"

namespace pavok {

// The adapter with USB ids `id`, or nothing with the reason in `error` when
// this build has no way to reach it.
std::unique_ptr<Transport> MakeUsbTransport(UsbId id, std::string& error);

}  // namespace pavok
