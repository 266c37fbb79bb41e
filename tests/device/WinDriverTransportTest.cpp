#include <gtest/gtest.h>

#include <array>
#include <filesystem>

#include "ChipRead.h"
#include "DeviceChannel.h"
#include "SystemTexts.h"
#include "TestEnvironment.h"
#include "WinDriverTransport.h"

namespace pavok::test {
namespace {

// No test machine has the adapter's driver, so its device path never opens.
TEST(WinDriverTransport, AbsentDriverFailsTheRequestWithTheOpenMessage) {
  TestEnvironment env;
  WinDriverTransport driver;
  TransportScope useDriver(driver);
  replyBuffer.fill(0x5A);

  EXPECT_FALSE(SendDeviceRequest(REQ_READ_BLOCK, 0, deviceSelect(0), replyBuffer, 32));

  EXPECT_EQ(env.window.calls, std::vector<std::string>{"message: " + std::string(kOpenFailedMessage)});
  EXPECT_EQ(driver.LastOpenFailure(), OpenFailure::NotFound);
  EXPECT_FALSE(driver.isOpen());
  EXPECT_EQ(replyBuffer[0], 0x5A) << "the reply buffer keeps the last reply";
}

TEST(WinDriverTransport, AbsentDriverEndsAChipReadAfterOneMessage) {
  TestEnvironment env;
  WinDriverTransport driver;
  TransportScope useDriver(driver);

  EXPECT_EQ(RunReadChip(), ReadOutcome::DeviceFailed);

  EXPECT_EQ(env.window.messages, std::vector<std::string>{std::string(kOpenFailedMessage)});
  EXPECT_EQ(env.window.status, kPortClosedText);
  EXPECT_EQ(env.buffer().workImage[0], 0xFF);
}

TEST(WinDriverTransport, OpenFailuresSayWhy) {
  TestEnvironment env;
  struct Case {
    std::string path;
    OpenFailure expected;
  };
  const Case cases[] = {
      {"\\\\.\\PAVOK_NO_SUCH_DEVICE_0", OpenFailure::NotFound},
      {(env.directory / "missing" / "device").string(), OpenFailure::NotFound},
      {env.directory.path().string(), OpenFailure::AccessDenied},  // a directory is no device
  };
  for (const Case& c : cases) {
    WinDriverTransport transport(c.path);
    EXPECT_FALSE(transport.Open()) << c.path;
    EXPECT_EQ(transport.LastOpenFailure(), c.expected) << c.path;
    EXPECT_FALSE(transport.isOpen()) << c.path;
  }
}

// A plain file opens like a device but refuses the control call: the request
// fails without a message, and the handle is closed again (Windows refuses to
// delete a file that is still open).
TEST(WinDriverTransport, RefusedControlCallFailsSilentlyAndCloses) {
  TestEnvironment env;
  const auto notADriver = env.directory / "not-a-driver";
  WriteFileBytes(notADriver, "x");
  WinDriverTransport transport(notADriver.string());
  TransportScope useTransport(transport);

  EXPECT_FALSE(SendDeviceRequest(REQ_LOAD_DATA, 0xFFFF, 0xFFFF, replyBuffer, 1));

  EXPECT_TRUE(env.window.calls.empty());
  EXPECT_EQ(transport.LastOpenFailure(), OpenFailure::None);
  EXPECT_FALSE(transport.isOpen());
  std::error_code error;
  EXPECT_TRUE(std::filesystem::remove(notADriver, error)) << error.message();
}

TEST(WinDriverTransport, DestructionAndReopeningLeakNoHandle) {
  TestEnvironment env;
  const auto file = env.directory / "device";
  WriteFileBytes(file, "x");
  {
    WinDriverTransport transport(file.string());
    ASSERT_TRUE(transport.Open());
    ASSERT_TRUE(transport.Open());  // the first handle is closed, not lost
    std::error_code whileOpen;
    ASSERT_FALSE(std::filesystem::remove(file, whileOpen)) << "an open file must not be removable";
  }
  std::error_code error;
  EXPECT_TRUE(std::filesystem::remove(file, error)) << error.message();
}

TEST(WinDriverTransport, ExchangeWithoutOpenDeviceFails) {
  WinDriverTransport transport;
  std::array<std::uint8_t, 32> reply{};
  const auto request = DeviceRequest::Make(REQ_READ_BLOCK, 0, deviceSelect(0));
  const ExchangeResult result = transport.Exchange(request.bytes, reply);
  EXPECT_FALSE(result.succeeded);
  EXPECT_EQ(result.bytesReturned, 0u);
}

}  // namespace
}  // namespace pavok::test
