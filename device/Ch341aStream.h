#pragma once
// The CH341A's I2C stream command as bytes: what one bulk OUT transfer holds
// for an I2C transaction, and how the chip answers on its bulk IN endpoint.
//
// A stream is a run of packets of at most 32 bytes, each opening with the
// stream code 0xAA and followed by sub-commands; the end sub-command closes a
// packet early. A sub-command never spans two packets, and the bytes that one
// packet reads off the bus (at most 32) come back as one IN packet. An "out"
// of length 0 sends one byte and answers whether it was acknowledged; an
// "in" of length 0 reads one byte and answers it with no acknowledge, as
// the last byte of a read must be.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace pavok {

inline constexpr std::size_t kCh341aPacketSize = 32;

// The stream code and its sub-commands.
inline constexpr std::uint8_t kCh341aStream = 0xAA;
inline constexpr std::uint8_t kStreamStart = 0x74;
inline constexpr std::uint8_t kStreamStop = 0x75;
inline constexpr std::uint8_t kStreamOut = 0x80;      // | n, then n bytes
inline constexpr std::uint8_t kStreamIn = 0xC0;       // | n
inline constexpr std::uint8_t kStreamSpeed = 0x60;    // | speed code
inline constexpr std::uint8_t kStreamDelayUs = 0x40;  // | n microseconds
inline constexpr std::uint8_t kStreamDelayMs = 0x50;  // | n milliseconds
inline constexpr std::uint8_t kStreamEnd = 0x00;
// The low bits of a sub-command that carry its length, speed or delay.
inline constexpr std::uint8_t kStreamOutInLengthMask = 0x3F;
inline constexpr std::uint8_t kStreamDelayMask = 0x0F;

// Bit 7 of the byte an "out" of length 0 answers: set when nothing
// acknowledged the byte sent.
inline constexpr std::uint8_t kStreamNotAcknowledged = 0x80;

// The I2C clock rates the speed sub-command chooses, by code.
inline constexpr std::array<unsigned, 4> kCh341aI2cSpeedsKhz{20, 100, 400, 750};

struct Ch341aSpeed {
  std::uint8_t code = 1;  // 100 kHz, the chip's own default
};

// The speed whose clock is `khz`; nothing for a rate the chip does not offer.
std::optional<Ch341aSpeed> Ch341aSpeedFor(unsigned khz);

// One stream: the bytes of its bulk OUT transfer, and the size of each IN
// packet it answers, in order.
struct Ch341aCommand {
  std::vector<std::uint8_t> bytes;
  std::vector<std::size_t> replies;
};

// A random read: the select byte and the word address written, a repeated
// start, the select byte with the read bit, `count` bytes read, the last
// without acknowledge, a stop. The answer is the bytes read: up to 32 come
// back as one packet, so the CH341A never holds an answer while it runs the
// next packet. Nothing says whether a chip acknowledged; where none did,
// the bus reads 0xFF.
Ch341aCommand ReadCommand(Ch341aSpeed speed, std::uint8_t select, std::uint8_t word, std::size_t count);

// How a page write waits out the write cycle its stop starts: an
// acknowledge poll after `firstPollMs`, then `morePolls` more, `pollMs`
// apart.
struct WriteCycleWait {
  unsigned firstPollMs = 0;
  unsigned pollMs = 0;
  unsigned morePolls = 0;
};

// A page write of `data` at the word address in a packet that answers
// nothing, then the polls of `wait` in a packet of their own. The answer is
// the acknowledge status of each poll, all in one packet.
Ch341aCommand PageWriteCommand(Ch341aSpeed speed, std::uint8_t select, std::uint8_t word,
                               std::span<const std::uint8_t> data, WriteCycleWait wait);

// One acknowledge poll of a chip in its write cycle: a wait of `waitMs`
// milliseconds (at most 15, none for 0) on the CH341A's side, then the
// select byte alone between a start and a stop, which the chip acknowledges
// once the cycle has ended, as a chip that is there and idle does at once.
// The answer is its acknowledge status.
Ch341aCommand AcknowledgePollCommand(std::uint8_t select, unsigned waitMs);

// Whether an acknowledge status says the byte was acknowledged.
constexpr bool Acknowledged(std::uint8_t status) { return (status & kStreamNotAcknowledged) == 0; }

}  // namespace pavok
