// Runs the built pavok-cli as a separate process, the way a shell does: no
// terminal (a session of its own, standard input from /dev/null).

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

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
  EXPECT_EQ(std::count(run.errors.begin(), run.errors.end(), '\n'), 8) << run.errors;
  EXPECT_TRUE(run.errors.starts_with("request 24 00 00 A0 00  offered 32  returned 32  ok\n")) << run.errors;
}

TEST_F(CliBinary, VersionGoesToStandardOutput) {
  const Spawned run = Spawn({"--version"}, directory);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "pavok-cli 1.0.0.3\n");
}

}  // namespace
}  // namespace pavok::test
