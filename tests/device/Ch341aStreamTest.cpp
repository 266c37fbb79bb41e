#include <gtest/gtest.h>

#include <array>

#include "Ch341aStream.h"

namespace pavok::test {
namespace {

// The stream bytes written out by hand from the CH341A's stream command: a
// packet opens with AA and closes with the end 00; a packet's answer is at
// most 32 bytes, so a read of 32 bytes is one packet and its answer one, and
// a longer read goes on at the next 32-byte boundary. A page write's polls
// start a packet of their own, so they answer in one packet.
TEST(Ch341aStream, CommandsAsTheChipTakesThem) {
  const std::vector<std::uint8_t> read32{0xAA, 0x61, 0x74, 0x82, 0xA2, 0xE0, 0x74, 0x81, 0xA3, 0xDF, 0xC0, 0x75, 0x00};
  std::vector<std::uint8_t> read70{0xAA, 0x60, 0x74, 0x82, 0xA0, 0x10, 0x74, 0x81, 0xA1, 0xE0, 0x00};
  read70.resize(32, 0x00);
  read70.insert(read70.end(), {0xAA, 0xE0, 0x00});
  read70.resize(64, 0x00);
  read70.insert(read70.end(), {0xAA, 0xC5, 0xC0, 0x75, 0x00});
  std::vector<std::uint8_t> pageWrite{0xAA, 0x62, 0x74, 0x86, 0xAE, 0xFC, 0x11, 0x22, 0x33, 0x44, 0x75, 0x53, 0x00};
  pageWrite.resize(32, 0x00);
  pageWrite.insert(pageWrite.end(), {0xAA, 0x74, 0x80, 0xAE, 0x75, 0x51, 0x74, 0x80, 0xAE, 0x75, 0x00});
  struct Case {
    const char* what;
    Ch341aCommand command;
    std::vector<std::uint8_t> bytes;
    std::vector<std::size_t> replies;
  };
  const std::array<std::uint8_t, 4> data{0x11, 0x22, 0x33, 0x44};
  const Case cases[] = {
      {"block read at 0x2E0", ReadCommand({1}, 0xA2, 0xE0, 32), read32, {32}},
      {"read of 70 bytes at 20 kHz", ReadCommand({0}, 0xA0, 0x10, 70), read70, {32, 32, 6}},
      {"page write at 0x7FC, polls after 3 and 4 ms", PageWriteCommand({2}, 0xAE, 0xFC, data, {3, 1, 1}), pageWrite,
       {2}},
      {"poll", AcknowledgePollCommand(0xA4, 1), {0xAA, 0x51, 0x74, 0x80, 0xA4, 0x75, 0x00}, {1}},
      {"probe", AcknowledgePollCommand(0xA4, 0), {0xAA, 0x74, 0x80, 0xA4, 0x75, 0x00}, {1}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.command.bytes, c.bytes) << c.what;
    EXPECT_EQ(c.command.replies, c.replies) << c.what;
  }
}

TEST(Ch341aStream, SpeedsAndAcknowledgeStatus) {
  EXPECT_EQ(Ch341aSpeedFor(20)->code, 0);
  EXPECT_EQ(Ch341aSpeedFor(400)->code, 2);
  EXPECT_FALSE(Ch341aSpeedFor(200));
  EXPECT_TRUE(Acknowledged(0x00));
  EXPECT_TRUE(Acknowledged(0x7F)) << "only bit 7 tells";
  EXPECT_FALSE(Acknowledged(0x80));
}

}  // namespace
}  // namespace pavok::test
