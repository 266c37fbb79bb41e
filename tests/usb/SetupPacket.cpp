#include "SetupPacket.h"

#include <cstdio>

namespace pavok::test {

namespace {
std::uint16_t Little(std::uint8_t low, std::uint8_t high) { return static_cast<std::uint16_t>(low | high << 8); }
}  // namespace

SetupPacket SetupPacket::FromBytes(std::span<const std::uint8_t, 8> bytes) {
  return {bytes[0], bytes[1], Little(bytes[2], bytes[3]), Little(bytes[4], bytes[5]), Little(bytes[6], bytes[7])};
}

std::ostream& operator<<(std::ostream& out, const SetupPacket& packet) {
  char text[48];
  std::snprintf(text, sizeof text, "%02X %02X %04X %04X %u", packet.requestType, packet.request, packet.value,
                packet.index, unsigned{packet.length});
  return out << text;
}

std::vector<SetupPacket> SetupPacketsFor(const std::vector<RecordedRequest>& requests) {
  std::vector<SetupPacket> packets;
  for (const RecordedRequest& r : requests) {
    packets.push_back({0xC0, r.request.code(), r.request.param1(), r.request.param2(),
                       static_cast<std::uint16_t>(r.replyOffered)});
  }
  return packets;
}

}  // namespace pavok::test
