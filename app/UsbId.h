#pragma once
// The USB vendor and product identifiers that pick the real adapter, as the
// user types them: "VID:PID" in hexadecimal.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pavok {

struct UsbId {
  std::uint16_t vendor = 0;
  std::uint16_t product = 0;
  bool operator==(const UsbId&) const = default;
};

// "03EB:21FF": two hexadecimal numbers of one to four digits each, either
// case, each with an optional "0x". Anything else gives nothing and, when
// `error` is given, a sentence saying what was expected.
std::optional<UsbId> ParseUsbId(std::string_view text, std::string* error = nullptr);

// "03EB:21FF".
std::string FormatUsbId(UsbId id);

}  // namespace pavok
