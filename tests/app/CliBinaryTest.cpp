// Runs the built pavok-cli as a separate process, the way a shell does: no
// terminal (a session of its own, standard input from /dev/null).

#include <gtest/gtest.h>

#include <signal.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <random>
#include <thread>

#include "AdapterLock.h"
#include "CliProcess.h"
#include "CliTestSupport.h"
#include "TestEnvironment.h"

namespace pavok::test {
namespace {

class CliBinary : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::getenv("PAVOK_CLI") == nullptr) GTEST_SKIP() << "PAVOK_CLI names no program";
    WriteFileBytes(directory / "chip.bin", chip);
  }
  TemporaryDirectory directory;
  const std::string chip = PatternBytes(2048);
};

TEST_F(CliBinary, ExitStatusesAndFilesLeftBehind) {
  struct Case {
    std::vector<std::string> arguments;
    int status;
    std::string errors;        // part of the error stream
    bool outFileWritten;       // out.bin exists afterwards
  };
  for (const Case& c : {
           Case{{"--emulate", "--chip-image", "chip.bin", "read", "out.bin"}, 0, "", true},
           Case{{"--emulate", "--chip-image", "chip.bin", "read", "/dev/full"}, 2, "Ошибка записи файла\n", false},
           Case{{"--emulate", "--emulated-chip", "C02", "--chip-image", "c02.bin", "read", "out.bin"}, 2,
                "out.bin not written", false},
           Case{{"--emulate", "--chip-image", "chip.bin", "erase"}, 2, "taken as No", false},
           Case{{"--usb-id", "03EB-21FF", "read", "out.bin"}, 2, "is not a USB id", false},
           Case{{"--emulate", "--chip-image", "chip.bin", "compare", "chip.bin"}, 0, "OK !", false},
           Case{{"--emulate", "--chip-image", "chip.bin", "verify", "c02.bin"}, 1, "", false},
           // The user's settings ask for Russian (see CMakeLists.txt); --language overrides them.
           Case{{"--emulate", "--language", "en", "--chip-image", "chip.bin", "read", "/dev/full"}, 2,
                "Cannot write the file\n", false},
           Case{{"--emulate", "--chip-image", "chip.bin", "compare", "chip.bin", "--language", "EN"}, 0,
                "\nBuffer checksum: 3fc00 \n\nOK !", false},
           Case{{"--emulate", "--language", "de", "erase"}, 2, "\"de\" is not a language: expected ru or en", false},
       }) {
    std::filesystem::remove(directory / "out.bin");
    WriteFileBytes(directory / "c02.bin", std::string(256, '\x5A'));
    const Spawned run = Spawn(c.arguments, directory);
    EXPECT_EQ(run.status, c.status) << c.arguments.back() << "\n" << run.errors;
    EXPECT_NE(run.errors.find(c.errors), std::string::npos) << run.errors;
    EXPECT_EQ(std::filesystem::exists(directory / "out.bin"), c.outFileWritten) << c.arguments.back();
    EXPECT_EQ(ReadFileBytes(directory / "chip.bin"), chip);
  }
}

TEST_F(CliBinary, TraceShowsOneLinePerRequest) {
  const Spawned run = Spawn({"--emulate", "--trace", "--chip", "C02", "read", "out.bin"}, directory);
  EXPECT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(std::count(run.errors.begin(), run.errors.end(), '\n'), 1 + 8) << run.errors;
  EXPECT_TRUE(run.errors.starts_with("adapter: emulated adapter with a 2048-byte chip\n"
                                     "request 24 00 00 A0 00  offered 32  returned 32  ok\n"))
      << run.errors;
}

TEST_F(CliBinary, KilledDuringAnEraseTheChipImageStillHoldsTheWholeChip) {
  std::mt19937 random{std::random_device{}()};
  // A C16 erase at this delay lasts about a quarter of a second.
  std::uniform_int_distribution<int> moment(0, 300);
  for (int run = 0; run < 12; ++run) {
    WriteFileBytes(directory / "chip.bin", chip);
    const int killedAfter = moment(random);
    const pid_t pid =
        Start({"--emulate", "--chip-image", "chip.bin", "--emulated-delay-us", "100", "--yes", "erase"}, directory);
    ASSERT_NE(pid, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(killedAfter));
    kill(pid, SIGKILL);
    Finish(pid, directory);

    // The erase goes group by group from the start: FF up to some group,
    // the chip's own bytes from there on.
    const std::string image = ReadFileBytes(directory / "chip.bin");
    ASSERT_EQ(image.size(), chip.size()) << "killed after " << killedAfter << " ms";
    const std::size_t erased = std::min(image.find_first_not_of('\xFF'), image.size()) / 4 * 4;
    EXPECT_EQ(image.substr(erased), chip.substr(erased)) << "killed after " << killedAfter << " ms";
  }
}

// Waits (a few seconds at most) until process `pid` holds the lock of the
// emulated chip in chip.bin, as its lock file says.
bool WaitUntilHolding(pid_t pid, const TemporaryDirectory& directory) {
  const auto adapter = EmulatedAdapter::WithImageFile(2048, directory / "chip.bin", nullptr);
  const auto lockFile = LockFilePath(adapter->LockNames().front());
  for (int i = 0; i < 500; ++i) {
    if (ReadFileBytes(lockFile) == std::to_string(pid) + "\n") return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

TEST_F(CliBinary, OneProgramAtATimeWritesAChipAndAKilledOneLeavesNoLock) {
  const std::string first = PatternBytes(2048, 1), second = PatternBytes(2048, 2);
  WriteFileBytes(directory / "first.bin", first);
  WriteFileBytes(directory / "second.bin", second);
  const std::vector<std::string> slowly{"--emulate", "--chip-image", "chip.bin", "--emulated-delay-us", "1000", "--yes"};
  const auto command = [&slowly](std::vector<std::string> words) {
    words.insert(words.begin(), slowly.begin(), slowly.end());
    return words;
  };

  const pid_t writer = Start(command({"write", "first.bin"}), directory, "writer");
  ASSERT_TRUE(WaitUntilHolding(writer, directory));
  const Spawned refused = Spawn(command({"write", "second.bin"}), directory);
  const Spawned written = Finish(writer, directory, "writer");

  EXPECT_EQ(written.status, 0) << written.errors;
  EXPECT_EQ(refused.status, 2);
  EXPECT_NE(refused.errors.find("The adapter is in use by another program (process " + std::to_string(writer) + ")"),
            std::string::npos)
      << refused.errors;
  EXPECT_NE(refused.errors.find("write: adapter in use by another program; the chip was not changed"),
            std::string::npos)
      << refused.errors;
  EXPECT_TRUE(ReadFileBytes(directory / "chip.bin") == first);

  // A program killed in the middle of a write takes its lock with it.
  const pid_t killed = Start(command({"erase"}), directory);
  ASSERT_TRUE(WaitUntilHolding(killed, directory));
  kill(killed, SIGKILL);
  Finish(killed, directory);
  const Spawned next = Spawn({"--emulate", "--chip-image", "chip.bin", "read", "out.bin"}, directory);
  EXPECT_EQ(next.status, 0) << next.errors;
}

TEST_F(CliBinary, VersionGoesToStandardOutput) {
  const Spawned run = Spawn({"--version"}, directory);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out,
            "pavok-cli 1.0.0.3\n"
            "Licence: GNU GPL version 3 or later (GPL-3.0-or-later); there is NO WARRANTY.\n");
}

}  // namespace
}  // namespace pavok::test
