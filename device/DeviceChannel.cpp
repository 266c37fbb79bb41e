#include "DeviceChannel.h"

#include <algorithm>

#include "Transport.h"
#include "WindowOperations.h"

namespace pavok {

std::array<std::uint8_t, 256> replyBuffer{};

namespace {
bool deviceOpen = false;
OpenResult lastOpen;
}  // namespace

bool OpenDevice() {
  WindowOperations* window = GetActiveWindow();
  lastOpen = CurrentTransport().Open();
  deviceOpen = static_cast<bool>(lastOpen);
  if (!deviceOpen) ShowOpenFailure(window, kOpenFailedMessage);
  return deviceOpen;
}

const OpenResult& LastDeviceOpen() { return lastOpen; }

void CloseDevice() {
  if (!deviceOpen) return;
  CurrentTransport().Close();
  deviceOpen = false;
}

bool ExchangeAnswered(const ExchangeResult& result, std::size_t offered) {
  return result.succeeded && result.bytesReturned > 0 && result.bytesReturned >= offered;
}

bool SendDeviceRequest(std::uint8_t code, std::uint16_t param1, std::uint16_t param2,
                       std::span<std::uint8_t> reply, std::int32_t replyLength) {
  if (!OpenDevice()) {
    CloseDevice();
    return false;
  }
  const DeviceRequest request = DeviceRequest::Make(code, param1, param2);
  const auto offered = static_cast<std::size_t>(std::clamp(replyLength, 0, kMaxReplyLength));
  const auto replySpan = reply.first(std::min(offered, reply.size()));
  const ExchangeResult result = CurrentTransport().Exchange(request.bytes, replySpan);
  CloseDevice();
  return ExchangeAnswered(result, replySpan.size());
}

bool SendPageWrite(std::uint16_t offset, std::span<const std::uint8_t> data) {
  if (!OpenDevice()) {
    CloseDevice();
    return false;
  }
  const ExchangeResult result = CurrentTransport().WritePage(static_cast<std::uint8_t>(deviceSelect(offset)),
                                                             static_cast<std::uint8_t>(wordAddress(offset)), data);
  CloseDevice();
  return ExchangeAnswered(result, data.size());
}

}  // namespace pavok
