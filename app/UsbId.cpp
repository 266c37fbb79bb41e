#include "UsbId.h"

#include <cstdio>

#include "Translation.h"

namespace pavok {

namespace {

std::optional<std::uint16_t> ParseHex16(std::string_view text) {
  if (text.starts_with("0x") || text.starts_with("0X")) text.remove_prefix(2);
  if (text.empty() || text.size() > 4) return std::nullopt;
  unsigned value = 0;
  for (const char c : text) {
    unsigned digit = 0;
    if (c >= '0' && c <= '9') {
      digit = static_cast<unsigned>(c - '0');
    } else if (c >= 'a' && c <= 'f') {
      digit = static_cast<unsigned>(c - 'a' + 10);
    } else if (c >= 'A' && c <= 'F') {
      digit = static_cast<unsigned>(c - 'A' + 10);
    } else {
      return std::nullopt;
    }
    value = value * 16 + digit;
  }
  return static_cast<std::uint16_t>(value);
}

}  // namespace

std::optional<UsbId> ParseUsbId(std::string_view text, std::string* error) {
  const auto colon = text.find(':');
  if (colon != std::string_view::npos) {
    const auto vendor = ParseHex16(text.substr(0, colon));
    const auto product = ParseHex16(text.substr(colon + 1));
    if (vendor && product) return UsbId{*vendor, *product};
  }
  if (error != nullptr) {
    *error = FormatText(Tr("\"%1\" is not a USB id: expected VID:PID, two hexadecimal numbers of up to four digits, "
                           "e.g. 03EB:21FF"),
                        {text});
  }
  return std::nullopt;
}

std::string FormatUsbId(UsbId id) {
  char text[10];
  std::snprintf(text, sizeof text, "%04X:%04X", id.vendor, id.product);
  return text;
}

}  // namespace pavok
