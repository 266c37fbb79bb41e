#pragma once
// The only path to the chip: one request is one open, one exchange and one
// close of the adapter (which a transport may hold open across a transfer).

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "DeviceRequest.h"
#include "Transport.h"

namespace pavok {

inline constexpr std::string_view kOpenFailedMessage = "Невозможно открыть последовательный порт";

// Every reply lands at the start of this buffer; it keeps the last reply.
extern std::array<std::uint8_t, 256> replyBuffer;

// Opens the current transport; on failure tells the active window
// kOpenFailedMessage as an open failure and returns false.
bool OpenDevice();
// How the last OpenDevice went.
const OpenResult& LastDeviceOpen();
void CloseDevice();

// The success rule of one exchange: the call succeeded and every byte asked
// for arrived.
bool ExchangeAnswered(const ExchangeResult& result, std::size_t offered);

// Sends one request. True when the adapter answered with every byte asked for
// (replyLength, at most 255: 32 for a block read, 1 for a load or a write):
// a short reply would leave stale bytes of an earlier reply in the buffer, so
// it counts as a failure.
bool SendDeviceRequest(std::uint8_t code, std::uint16_t param1, std::uint16_t param2,
                       std::span<std::uint8_t> reply, std::int32_t replyLength);

// Writes `data`, inside one page of the chip, at `offset` as one write of the
// chip, through a transport whose LargestWrite() takes it. True when the
// chip took every byte.
bool SendPageWrite(std::uint16_t offset, std::span<const std::uint8_t> data);

}  // namespace pavok
