#pragma once
// The eight setup bytes of one control transfer as the emulated USB adapter
// saw them on the bus, and the packet that should carry a request the
// emulated adapter recorded.

#include <array>
#include <cstdint>
#include <ostream>
#include <span>
#include <vector>

#include "EmulatedAdapter.h"

namespace pavok::test {

struct SetupPacket {
  std::uint8_t requestType = 0;  // bmRequestType
  std::uint8_t request = 0;      // bRequest
  std::uint16_t value = 0;       // wValue
  std::uint16_t index = 0;       // wIndex
  std::uint16_t length = 0;      // wLength: the reply size offered

  static SetupPacket FromBytes(std::span<const std::uint8_t, 8> bytes);
  bool operator==(const SetupPacket&) const = default;
};

std::ostream& operator<<(std::ostream& out, const SetupPacket& packet);

// What goes over the bus for each recorded request: a vendor request from
// device to host, the code as bRequest, param1 as wValue, param2 as wIndex
// and the reply size offered as wLength.
std::vector<SetupPacket> SetupPacketsFor(const std::vector<RecordedRequest>& requests);

}  // namespace pavok::test
