// One program at a time on an adapter: a transfer that finds the adapter
// held by another (here: another open of the lock, which conflicts just as
// another process would) fails at its first request and sends nothing.

#include <gtest/gtest.h>

#include "AdapterLock.h"
#include "AdapterReservation.h"
#include "ChipRead.h"
#include "ChipWrite.h"
#include "DeviceChannel.h"
#include "TestEnvironment.h"

namespace pavok::test {
namespace {

TEST(AdapterReservation, ASecondTransferOnAHeldAdapterFailsAtOnceAndSendsNothing) {
  TestEnvironment env(256);
  env.buffer().chipSize = 256;
  WriteFileBytes(env.directory / "other.bin", std::string(256, '\xFF'));
  auto first = EmulatedAdapter::WithImageFile(256, env.directory / "chip.bin", nullptr);
  ASSERT_TRUE(first);
  struct Case {
    const char* what;
    std::optional<std::filesystem::path> image;  // the second transport's chip; none: in memory
    bool refused;
  };
  for (const Case& c : {Case{"the same chip image", env.directory / "chip.bin", true},
                        Case{"the same image named otherwise", env.directory / "." / "chip.bin", true},
                        Case{"another chip image", env.directory / "other.bin", false},
                        Case{"a chip in memory", std::nullopt, false}}) {
    auto second = c.image ? EmulatedAdapter::WithImageFile(256, *c.image, nullptr)
                          : std::optional<EmulatedAdapter>(EmulatedAdapter(EepromModel(256)));
    ASSERT_TRUE(second) << c.what;
    env.window = ScriptedWindow{};
    env.window.answers = {true, true};
    {
      // The first program is in the middle of a transfer.
      const TransportScope firstTransfer(*first);
      const AdapterReservation held;
      const TransportScope secondProgram(*second);

      EXPECT_EQ(RunReadChip(), c.refused ? ReadOutcome::DeviceFailed : ReadOutcome::Completed) << c.what;
      EXPECT_EQ(RunWriteChip(true), c.refused ? WriteOutcome::DeviceFailed : WriteOutcome::Completed) << c.what;
      EXPECT_EQ(second->opens() == 0, c.refused) << c.what;
      EXPECT_EQ(env.window.CallsStartingWith("message: ").size(), c.refused ? 2u : 0u) << c.what;
      EXPECT_EQ(CurrentTransport().LastOpenFailure(), OpenFailure::None) << "the reservation is over";
    }
    // Once the first is done, the second goes ahead.
    const TransportScope secondProgram(*second);
    EXPECT_EQ(RunWriteChip(true), WriteOutcome::Completed) << c.what;
  }
  // A lock file that cannot be opened at all (a folder in its place) is no
  // lock: it fails rather than let the transfer go ahead unlocked.
  std::filesystem::create_directories(LockFilePath("pavok-test-unopenable"));
  EXPECT_FALSE(AdapterLock("pavok-test-unopenable").failure().empty());
  std::filesystem::remove(LockFilePath("pavok-test-unopenable"));
  // The first program's own transfers nest inside its reservation.
  const TransportScope firstProgram(*first);
  const AdapterReservation command;
  EXPECT_EQ(RunReadChip(), ReadOutcome::Completed);
}

}  // namespace
}  // namespace pavok::test
