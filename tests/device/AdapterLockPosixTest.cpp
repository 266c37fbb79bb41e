// The adapter lock on a POSIX system: one place for every program, and no
// transfer without a lock, also for a user the permissions hold back.

#include <gtest/gtest.h>

#include <unistd.h>

#include <functional>

#include "AdapterLock.h"
#include "AdapterReservation.h"
#include "ChipRead.h"
#include "FilePermissions.h"
#include "TestEnvironment.h"

namespace pavok::test {
namespace {

// Every program meets at the same lock whatever its environment, and where
// no lock can be taken the transfer is refused rather than run unlocked.
TEST(AdapterLock, ProgramsMeetAtOneLockAndNoneGoesAheadWithout) {
  TestEnvironment env(256);
  const std::string name = "test-" + std::to_string(::getpid());
  const std::filesystem::path lockFile = LockFilePath(name);
  struct Case {
    const char* what;
    std::optional<std::string> runtime;  // the second program's XDG_RUNTIME_DIR; none: unset
  };
  for (const Case& c : {Case{"unset", std::nullopt}, Case{"relative", "run"}, Case{"not writable", "/proc"},
                        Case{"another folder", "/tmp"}}) {
    const AdapterLock first(name);  // taken with the test folder as runtime directory
    c.runtime ? ::setenv("XDG_RUNTIME_DIR", c.runtime->c_str(), 1) : ::unsetenv("XDG_RUNTIME_DIR");
    const AdapterLock second(name);
    ::setenv("XDG_RUNTIME_DIR", env.directory.path().c_str(), 1);
    EXPECT_TRUE(first.failure().empty() && !first.refused()) << c.what << ": " << first.failure();
    EXPECT_TRUE(second.refused()) << c.what;
    EXPECT_EQ(second.holder(), ::getpid()) << c.what;
  }
  const FilePermissionsEnforced permissions;
  ASSERT_TRUE(permissions.enforced());
  // A lock file this user may not write still takes the lock.
  std::filesystem::permissions(lockFile, std::filesystem::perms::owner_read);
  {
    const AdapterLock first(name);
    EXPECT_TRUE(first.failure().empty()) << first.failure();
    EXPECT_TRUE(AdapterLock(name).refused());
  }
  std::filesystem::remove(lockFile);
  {
    // Deleted while held: a new lock file of the name does not let a second in.
    const AdapterLock held(name);
    std::filesystem::remove(lockFile);
    const AdapterLock second(name);
    EXPECT_TRUE(second.refused());
    EXPECT_EQ(second.holder(), ::getpid());
  }
  std::filesystem::remove(lockFile);
  struct Unusable {
    const char* what;
    std::function<void()> make;
    std::string reason;
  };
  for (const Unusable& c : {
           Unusable{"a dangling link", [&] { std::filesystem::create_symlink("/nowhere", lockFile); },
                    "Too many levels of symbolic links"},
           Unusable{"another user's, closed to others",
                    [&] {
                      WriteFileBytes(lockFile, "");
                      std::filesystem::permissions(lockFile, std::filesystem::perms::owner_read);
                      EXPECT_EQ(::chown(lockFile.c_str(), 12345, 12345), 0);
                    },
                    "Permission denied"},
       }) {
    c.make();
    const AdapterLock lock(name);
    EXPECT_FALSE(lock.refused()) << c.what;
    EXPECT_EQ(lock.failure(), lockFile.string() + ": " + c.reason) << c.what;
    std::filesystem::remove(lockFile);
  }
  // The emulated chip's image that cannot be locked: the transfer sends nothing.
  auto adapter = EmulatedAdapter::WithImageFile(256, env.directory / "chip.bin", nullptr);
  ASSERT_TRUE(adapter);
  std::filesystem::permissions(env.directory / "chip.bin", std::filesystem::perms::owner_write);
  const TransportScope scope(*adapter);
  const AdapterReservation refused;
  EXPECT_EQ(RunReadChip(), ReadOutcome::DeviceFailed);
  EXPECT_EQ(adapter->opens(), 0);
  EXPECT_EQ(CurrentAdapterLockFailure(), (env.directory / "chip.bin").string() + ": Permission denied");
}

}  // namespace
}  // namespace pavok::test
