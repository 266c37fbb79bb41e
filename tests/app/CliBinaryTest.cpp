// Runs the built pavok-cli as a separate process, the way a shell does: no
// terminal (a session of its own, standard input from /dev/null).

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <random>
#include <thread>

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
    std::filesystem::create_symlink("chip.bin", directory / "link.bin");
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
    bool dumped;               // temp.bin replaced: the read completed
  };
  for (const Case& c : {
           Case{{"--emulate", "--chip-image", "chip.bin", "read", "out.bin"}, 0, "", true, true},
           Case{{"--emulate", "--chip-image", "chip.bin", "read", "/dev/full"}, 2, "Ошибка записи файла\n", false, true},
           Case{{"--emulate", "--emulated-chip", "C02", "--chip-image", "c02.bin", "read", "out.bin"}, 2,
                "out.bin not written", false, false},
           Case{{"--emulate", "--chip-image", "chip.bin", "erase"}, 2, "taken as No", false, false},
           Case{{"--usb-id", "03EB-21FF", "read", "out.bin"}, 2, "is not a USB id", false, false},
           Case{{"--emulate", "--chip-image", "chip.bin", "compare", "chip.bin"}, 2, "is the emulated chip image", false, false},
           Case{{"--emulate", "--chip-image", "chip.bin", "read", "./link.bin"}, 2, "is the emulated chip image", false, false},
           Case{{"--emulate", "--chip-image", "temp.bin", "read", "out.bin"}, 2, "is the dump temp.bin", false, false},
           Case{{"--emulate", "--chip-image", "chip.bin", "verify", "c02.bin"}, 1, "", false, true},
           // The user's settings ask for Russian (see CMakeLists.txt); --language overrides them.
           Case{{"--emulate", "--language", "en", "--chip-image", "chip.bin", "read", "/dev/full"}, 2,
                "Cannot write the file\n", false, true},
           Case{{"--emulate", "--chip-image", "chip.bin", "-v", "read", "out.bin", "--language", "EN"}, 0,
                "Port open\n", true, true},
           Case{{"--emulate", "--language", "de", "erase"}, 2, "\"de\" is not a language: expected ru or en", false, false},
       }) {
    std::filesystem::remove(directory / "out.bin");
    WriteFileBytes(directory / "c02.bin", std::string(256, '\x5A'));
    WriteFileBytes(directory / "temp.bin", "old dump");
    const Spawned run = Spawn(c.arguments, directory);
    EXPECT_EQ(run.status, c.status) << c.arguments.back() << "\n" << run.errors;
    EXPECT_NE(run.errors.find(c.errors), std::string::npos) << run.errors;
    EXPECT_EQ(std::filesystem::exists(directory / "out.bin"), c.outFileWritten) << c.arguments.back();
    EXPECT_EQ(ReadFileBytes(directory / "chip.bin"), chip);
    EXPECT_EQ(ReadFileBytes(directory / "temp.bin"), c.dumped ? chip : "old dump") << c.arguments.back();
  }
  // "-" is the standard output.
  EXPECT_EQ(Spawn({"--emulate", "--chip-image", "chip.bin", "read", "-"}, directory).out, chip);
  // and the standard input, which a plain write takes whole or not at all.
  WriteFileBytes(directory / "short.bin", chip.substr(0, 256));
  EXPECT_EQ(Spawn({"--emulate", "--chip-image", "chip.bin", "--yes", "write", "-"}, directory,
                  (directory / "short.bin").string()).status, 2);
  WriteFileBytes(directory / "long.bin", chip + chip);
  EXPECT_EQ(Spawn({"--emulate", "--chip-image", "chip.bin", "--yes", "write", "-"}, directory,
                  (directory / "long.bin").string()).status, 2);
  EXPECT_EQ(ReadFileBytes(directory / "chip.bin"), chip);
}

TEST_F(CliBinary, TraceShowsOneLinePerRequest) {
  const Spawned run = Spawn({"--emulate", "--trace", "--chip", "C02", "read", "out.bin"}, directory);
  EXPECT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(std::count(run.errors.begin(), run.errors.end(), '\n'), 1 + 8) << run.errors;
  EXPECT_TRUE(run.errors.starts_with("adapter: emulated adapter with a 2048-byte chip\n"
                                     "request 24 00 00 A0 00  offered 32  returned 32  ok\n"))
      << run.errors;
}

ino_t InodeOf(const std::filesystem::path& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 ? status.st_ino : 0;
}

TEST_F(CliBinary, KilledDuringAnEraseOrAReadTheImageAndTheDumpStayWhole) {
  std::mt19937 random{std::random_device{}()};
  // A C16 erase at this delay lasts about a quarter of a second.
  std::uniform_int_distribution<int> moment(0, 300);
  for (int run = 0; run < 16; ++run) {
    WriteFileBytes(directory / "chip.bin", chip);
    WriteFileBytes(directory / "temp.bin", "old dump");
    const ino_t image = InodeOf(directory / "chip.bin");
    const int killedAfter = moment(random);
    const bool reading = run % 4 == 3;
    std::vector<std::string> arguments{"--emulate", "--chip-image", "chip.bin", "--emulated-delay-us", "100", "--yes",
                                       "erase"};
    if (reading) arguments = {"--emulate", "--chip-image", "chip.bin", "--emulated-delay-us", "3000", "read", "out.bin"};
    const pid_t pid = Start(arguments, directory);
    ASSERT_NE(pid, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(killedAfter));
    kill(pid, SIGKILL);
    Finish(pid, directory);

    // The dump is the earlier one or the whole chip, never part of it.
    const std::string dump = ReadFileBytes(directory / "temp.bin");
    EXPECT_TRUE(dump == "old dump" || dump == chip) << "killed after " << killedAfter << " ms";
    // The erase goes group by group from the start, in the file itself: FF
    // up to some group, the chip's own bytes from there on.
    EXPECT_EQ(InodeOf(directory / "chip.bin"), image);
    const std::string bytes = ReadFileBytes(directory / "chip.bin");
    ASSERT_EQ(bytes.size(), chip.size()) << "killed after " << killedAfter << " ms";
    const std::size_t erased = std::min(bytes.find_first_not_of('\xFF'), bytes.size()) / 4 * 4;
    EXPECT_EQ(bytes.substr(erased), chip.substr(erased)) << "killed after " << killedAfter << " ms";
  }
}

// Waits (a few seconds at most) until the program whose error stream goes
// to `outputs`.err says it has the adapter open, and so holds its lock.
bool WaitUntilHolding(const TemporaryDirectory& directory, const std::string& outputs = "spawned") {
  for (int i = 0; i < 500; ++i) {
    if (ReadFileBytes(directory / (outputs + ".err")).find("Порт открыт") != std::string::npos) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

TEST_F(CliBinary, OneProgramAtATimeWritesAChipAndAKilledOneLeavesNoLock) {
  const std::string first = PatternBytes(2048, 1), second = PatternBytes(2048, 2);
  WriteFileBytes(directory / "first.bin", first);
  WriteFileBytes(directory / "second.bin", second);
  const std::vector<std::string> slowly{"--emulate", "--chip-image", "chip.bin", "--emulated-delay-us", "1000", "--yes",
                                        "--verbose"};
  const auto command = [&slowly](std::vector<std::string> words) {
    words.insert(words.begin(), slowly.begin(), slowly.end());
    return words;
  };

  WriteFileBytes(directory / "temp.bin", "old dump");
  const pid_t writer = Start(command({"write", "first.bin"}), directory, "writer");
  ASSERT_TRUE(WaitUntilHolding(directory, "writer"));
  const Spawned refused = Spawn(command({"write", "second.bin"}), directory);
  EXPECT_EQ(Spawn(command({"read", "out.bin"}), directory).status, 2);
  EXPECT_EQ(ReadFileBytes(directory / "temp.bin"), "old dump");
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
  ASSERT_TRUE(WaitUntilHolding(directory));
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
  // Output that never reached the standard output fails the program.
  std::filesystem::create_symlink("/dev/full", directory / "full.out");
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"--version"}, std::vector<std::string>{"--emulate", "probe"}}) {
    const pid_t pid = Start(arguments, directory, "full");
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_EQ(WEXITSTATUS(status), 2) << arguments.back();
    EXPECT_NE(ReadFileBytes(directory / "full.err").find("pavok-cli: write error on the standard output"),
              std::string::npos)
        << arguments.back();
  }
}

}  // namespace
}  // namespace pavok::test
