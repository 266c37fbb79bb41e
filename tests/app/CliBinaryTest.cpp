// Runs the built pavok-cli as a separate process, the way a shell does: no
// terminal (a session of its own, standard input from /dev/null).

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>

#include "CliTestSupport.h"
#include "TestEnvironment.h"

extern char** environ;

namespace pavok::test {
namespace {

struct Spawned {
  int status = -1;
  std::string out;
  std::string errors;
};

Spawned Spawn(const std::vector<std::string>& arguments, const TemporaryDirectory& directory) {
  const char* program = std::getenv("PAVOK_CLI");
  std::vector<char*> argv{const_cast<char*>(program)};
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  const std::string outPath = (directory / "spawned.out").string();
  const std::string errorsPath = (directory / "spawned.err").string();

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, errorsPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);  // no controlling terminal

  Spawned result;
  pid_t pid = 0;
  if (posix_spawn(&pid, program, &actions, &attributes, argv.data(), environ) == 0) {
    int wstatus = 0;
    waitpid(pid, &wstatus, 0);
    result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
  }
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  result.out = ReadFileBytes(outPath);
  result.errors = ReadFileBytes(errorsPath);
  return result;
}

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
