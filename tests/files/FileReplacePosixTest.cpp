// What a save does to what the name stands for on a POSIX system: modes,
// links and devices, and a save that the system stops part way.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/acl.h>
#include <sys/xattr.h>
#include <acl/libacl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "ChipWrite.h"
#include "FilePermissions.h"
#include "FileReplace.h"
#include "ImageFiles.h"
#include "SystemTexts.h"
#include "TestEnvironment.h"

namespace pavok::test {
namespace {

namespace fs = std::filesystem;

mode_t ModeOf(const fs::path& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 0;
}

mode_t Umask() {
  const mode_t mask = ::umask(022);
  ::umask(mask);
  return mask;
}

TEST(FileReplacePosix, WhatTheNameStandsForDecidesHowItIsWritten) {
  const std::vector<std::uint8_t> data(256, 0x5A);
  const std::string written(256, 0x5A);
  const bool root = ::geteuid() == 0;
  struct Case {
    const char* what;
    fs::path name;        // what the save is given
    fs::path holder;      // the file that should hold the data afterwards
    mode_t modeBefore;    // 0: the holder does not exist beforehand
    mode_t modeAfter;
    bool saved;
  };
  TemporaryDirectory directory;
  fs::create_symlink("real.bin", directory / "link.bin");
  for (const Case& c : {
           Case{"a file keeps its mode", "kept.bin", "kept.bin", 0640, 0640, true},
           Case{"a link is followed", "link.bin", "real.bin", 0604, 0604, true},
           Case{"a new file gets the usual mode", "new.bin", "new.bin", 0, 0666 & ~Umask(), true},
           // Only root may replace a file that is not writable, as it may write one.
           Case{"a read-only file", "ro.bin", "ro.bin", 0444, 0444, root},
       }) {
    if (c.modeBefore != 0) {
      WriteFileBytes(directory / c.holder, "earlier");
      fs::permissions(directory / c.holder, static_cast<fs::perms>(c.modeBefore));
    }
    const auto failure = WriteWholeFile(directory / c.name, data, Durability::PowerLoss);
    EXPECT_EQ(!failure, c.saved) << c.what;
    EXPECT_EQ(ReadFileBytes(directory / c.holder), c.saved ? written : "earlier") << c.what;
    EXPECT_EQ(ModeOf(directory / c.holder), c.modeAfter) << c.what;
  }
  EXPECT_TRUE(fs::is_symlink(directory / "link.bin"));
  EXPECT_EQ(std::distance(fs::directory_iterator(directory.path()), fs::directory_iterator()), 5);

  // A device cannot be replaced: it is written as it is, and its refusal
  // is reported.
  const auto full = WriteWholeFile("/dev/full", data, Durability::PowerLoss);
  ASSERT_TRUE(full);
  EXPECT_FALSE(full->whileOpening);
  EXPECT_EQ(full->reason, std::errc::no_space_on_device);
  // The standard output, a pipe or a terminal, is reached through its name.
  EXPECT_FALSE(CheckCanCreate("/dev/stdout"));
}

std::string AclOf(const fs::path& path) {
  const acl_t acl = ::acl_get_file(path.c_str(), ACL_TYPE_ACCESS);
  char* text = acl != nullptr ? ::acl_to_any_text(acl, nullptr, ',', 0) : nullptr;
  const std::string result = text != nullptr ? text : "";
  ::acl_free(text);
  ::acl_free(acl);
  return result;
}

// What the old file granted is kept whole: a named user's entry and the
// mask stay, and the group bits gain nothing. A folder that takes no new
// files refuses the save rather than risk the file.
TEST(FileReplacePosix, AccessControlListsAttributesAndFoldersThatTakeNoNewFiles) {
  TestEnvironment env;
  const fs::path kept = env.directory / "kept.bin";
  WriteFileBytes(kept, "earlier");
  const std::string acl = "user::rw-,user:12345:rw-,group::r--,mask::rw-,other::---";
  const acl_t model = ::acl_from_text(acl.c_str());
  ASSERT_EQ(::acl_set_file(kept.c_str(), ACL_TYPE_ACCESS, model), 0);
  ::acl_free(model);
  ASSERT_EQ(::setxattr(kept.c_str(), "user.origin", "pavok", 5, 0), 0);
  EXPECT_FALSE(WriteWholeFile(kept, std::vector<std::uint8_t>(4, 'n'), Durability::PowerLoss));
  EXPECT_EQ(AclOf(kept), acl);
  char origin[8] = {};
  EXPECT_EQ(::getxattr(kept.c_str(), "user.origin", origin, sizeof origin), 5);
  EXPECT_STREQ(origin, "pavok");

  // A folder of another owner, where this user may write the file only.
  const fs::path folder = env.directory / "shared";
  fs::create_directory(folder);
  WriteFileBytes(folder / "image.bin", "earlier");
  fs::permissions(folder / "image.bin", static_cast<fs::perms>(0666));
  ASSERT_EQ(::chown(folder.c_str(), 12345, 12345), 0);
  const FilePermissionsEnforced permissions;
  ASSERT_TRUE(permissions.enforced());
  EXPECT_EQ(CheckCanCreate(folder / "image.bin")->refusingFolder, folder);
  env.window.fileAnswers = {{(folder / "image.bin").string(), 0}};
  const FileResult result = RunSaveImageFile();
  EXPECT_EQ(result, FileOutcome::OpenFailed);
  EXPECT_EQ(result.reason, std::errc::permission_denied);
  EXPECT_EQ(env.window.messages, std::vector<std::string>{FolderTakesNoNewFilesMessage(folder)});
  EXPECT_EQ(ReadFileBytes(folder / "image.bin"), "earlier");
  EXPECT_EQ(ModeOf(folder / "image.bin"), 0666u);
}

// The file-size limit stops the save part way, as a full disk would.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    previousHandler_ = ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    ::signal(SIGXFSZ, previousHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit saved_{};
  sighandler_t previousHandler_;
};

TEST(FileReplacePosix, SaveStoppedPartWayKeepsTheEarlierFileTheMessageAndTheFlag) {
  TestEnvironment env;
  const std::string earlier(1100, 'e');
  WriteFileBytes(env.directory / "backup.bin", earlier);
  env.buffer().unsavedFlag = 1;
  env.window.fileAnswers = {{(env.directory / "backup.bin").string(), 0}};
  FileResult result{FileOutcome::Completed};
  {
    const FileSizeLimit limit(1024);
    result = RunSaveImageFile();
  }
  EXPECT_EQ(result, FileOutcome::WriteFailed);
  EXPECT_EQ(result.reason, std::errc::file_too_large);
  EXPECT_EQ(env.window.messages, std::vector<std::string>{std::string(kFileWriteErrorMessage)});
  EXPECT_EQ(env.buffer().unsavedFlag, 1);
  EXPECT_EQ(ReadFileBytes(env.directory / "backup.bin"), earlier);
  EXPECT_EQ(std::distance(fs::directory_iterator(env.directory.path()), fs::directory_iterator()), 1);
}

// The emulated chip's image is written where it stands, page by page: a
// write the system stops leaves every earlier page and the file's size.
TEST(FileReplacePosix, AnImageWriteStoppedPartWayKeepsTheWholeImageAndSaysWhy) {
  TestEnvironment env;
  const std::string chip(2048, 'c');
  WriteFileBytes(env.directory / "chip.bin", chip);
  auto adapter = EmulatedAdapter::WithImageFile(2048, env.directory / "chip.bin", nullptr);
  ASSERT_TRUE(adapter);
  const TransportScope scope(*adapter);
  env.window.answers = {true};
  WriteOutcome outcome;
  {
    const FileSizeLimit limit(1024);
    outcome = RunWriteChip(true);
  }
  EXPECT_EQ(outcome, WriteOutcome::DeviceFailed);
  EXPECT_EQ(ReadFileBytes(env.directory / "chip.bin"), std::string(1024, '\xFF') + chip.substr(1024));
  EXPECT_EQ(adapter->LastExchangeFailure(),
            "cannot write the emulated chip image " + (env.directory / "chip.bin").string() + ": File too large");
  EXPECT_EQ(std::distance(fs::directory_iterator(env.directory.path()), fs::directory_iterator()), 1);
  // Saved over, under any name, the image would be taken from under the chip.
  fs::create_symlink("chip.bin", env.directory / "link.bin");
  EXPECT_EQ(WriteWholeFile(env.directory / "link.bin", std::vector<std::uint8_t>(2048), Durability::PowerLoss)->reason,
            std::errc::device_or_resource_busy);
}

}  // namespace
}  // namespace pavok::test
