#include <gtest/gtest.h>

#include "DeviceChannel.h"
#include "ScriptedTransport.h"
#include "TestEnvironment.h"

namespace pavok::test {
namespace {

using Wire = std::array<std::uint8_t, 5>;

TEST(DeviceRequest, AddressingSplitsOffsetIntoSelectAndWordAddress) {
  struct Case {
    std::uint16_t offset;
    std::uint16_t select;
    std::uint16_t word;
  };
  // Offsets with bit 7 set in every bank catch a select byte that keeps it.
  for (const Case c : {Case{0x000, 0xA0, 0x00}, Case{0x7FF, 0xAE, 0xFF}, Case{0x100, 0xA2, 0x00},
                       Case{0x080, 0xA0, 0x80}, Case{0x180, 0xA2, 0x80}, Case{0x280, 0xA4, 0x80},
                       Case{0x380, 0xA6, 0x80}, Case{0x480, 0xA8, 0x80}, Case{0x580, 0xAA, 0x80},
                       Case{0x6FF, 0xAC, 0xFF}, Case{0x700, 0xAE, 0x00}}) {
    EXPECT_EQ(deviceSelect(c.offset), c.select) << std::hex << c.offset;
    EXPECT_EQ(wordAddress(c.offset), c.word) << std::hex << c.offset;
  }
}

TEST(DeviceChannel, SendsTheFiveWireBytesAndOffersTheReplySize) {
  struct Case {
    const char* what;
    std::uint8_t code;
    std::uint16_t param1;
    std::uint16_t param2;
    std::int32_t replyLength;
    Wire wire;
    std::size_t offered;
  };
  const Case cases[] = {
      {"block read at 0x1E0", REQ_READ_BLOCK, wordAddress(0x1E0), deviceSelect(0x1E0), 32,
       {0x24, 0xE0, 0x00, 0xA2, 0x00}, 32},
      {"load of the group at 0x7FC", REQ_LOAD_DATA, 0x2211, 0x4433, 1, {0x28, 0x11, 0x22, 0x33, 0x44}, 1},
      {"write of the group at 0x7FC", REQ_WRITE_DATA, wordAddress(0x7FC), deviceSelect(0x7FC), 1,
       {0x27, 0xFC, 0x00, 0xAE, 0x00}, 1},
      {"erase load", REQ_LOAD_DATA, 0xFFFF, 0xFFFF, 1, {0x28, 0xFF, 0xFF, 0xFF, 0xFF}, 1},
      {"reply length 255", REQ_READ_BLOCK, 0, 0xA0, 255, {0x24, 0, 0, 0xA0, 0}, 255},
      {"reply length 256 offers 255", REQ_READ_BLOCK, 0, 0xA0, 256, {0x24, 0, 0, 0xA0, 0}, 255},
      {"reply length 100000 offers 255", REQ_READ_BLOCK, 0, 0xA0, 100000, {0x24, 0, 0, 0xA0, 0}, 255},
  };
  for (const Case& c : cases) {
    TestEnvironment env;
    EXPECT_TRUE(SendDeviceRequest(c.code, c.param1, c.param2, replyBuffer, c.replyLength)) << c.what;
    ASSERT_EQ(env.adapter.requests().size(), 1u) << c.what;
    EXPECT_EQ(env.adapter.requests()[0].request.bytes, c.wire) << c.what;
    EXPECT_EQ(env.adapter.requests()[0].replyOffered, c.offered) << c.what;
  }
}

TEST(DeviceChannel, SuccessNeedsTheCallToSucceedWithEveryByteAsked) {
  struct Case {
    const char* what;
    ExchangeResult answer;
    std::int32_t replyLength;
    bool success;
  };
  const Case cases[] = {
      {"platform call failed", {false, 32}, 32, false},
      {"no bytes", {true, 0}, 32, false},
      {"short reply would pass stale bytes", {true, 31}, 32, false},
      {"one byte of 32", {true, 1}, 32, false},
      {"every byte", {true, 32}, 32, true},
      {"one byte of one", {true, 1}, 1, true},
      {"no byte of one", {true, 0}, 1, false},
  };
  for (const Case& c : cases) {
    TestEnvironment env;
    ScriptedTransport transport;
    TransportScope scope(transport);
    transport.answer = c.answer;

    EXPECT_EQ(SendDeviceRequest(REQ_READ_BLOCK, 0, 0xA0, replyBuffer, c.replyLength), c.success) << c.what;

    EXPECT_TRUE(env.window.calls.empty()) << c.what;  // device failures are silent
    EXPECT_EQ(transport.exchangeCalls, 1) << c.what;
    EXPECT_EQ(transport.closeCalls, 1) << c.what;
    EXPECT_FALSE(transport.isOpen) << c.what;
  }
}

TEST(DeviceChannel, FailedOpenShowsOneMessageAndSendsNothing) {
  TestEnvironment env;
  ScriptedTransport transport;
  TransportScope scope(transport);
  transport.opens = false;

  EXPECT_FALSE(SendDeviceRequest(REQ_READ_BLOCK, 0, 0xA0, replyBuffer, 32));

  EXPECT_EQ(env.window.calls, std::vector<std::string>{"message: " + std::string(kOpenFailedMessage)});
  EXPECT_EQ(transport.exchangeCalls, 0);
  EXPECT_EQ(transport.closeCalls, 0);  // nothing was opened
  EXPECT_FALSE(transport.isOpen);
}

}  // namespace
}  // namespace pavok::test
