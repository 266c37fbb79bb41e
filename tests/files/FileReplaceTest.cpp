// Replacing a file whole: whatever step fails, the earlier file is as it was
// and nothing of the attempt is left beside it.

#include <gtest/gtest.h>

#include <filesystem>

#include "FileReplace.h"
#include "TestEnvironment.h"

namespace pavok::test {
namespace {

enum class Step { Create, Write, Sync, Finish, Rename, None };

// The system's steps, with one of them failing as a full disk would.
class FailingSteps final : public ReplaceSteps {
 public:
  explicit FailingSteps(Step failing, std::error_code fault = Fault()) : failing_(failing), fault_(fault) {}

  std::error_code Create(const std::filesystem::path& temporary, const std::filesystem::path* like,
                         std::optional<RawFile>& file) override {
    return failing_ == Step::Create ? fault_ : ReplaceSteps::Create(temporary, like, file);
  }
  std::error_code Write(RawFile& file, std::span<const std::uint8_t> data) override {
    if (failing_ != Step::Write) return ReplaceSteps::Write(file, data);
    static_cast<void>(ReplaceSteps::Write(file, data.first(data.size() / 2)));  // part way
    return fault_;
  }
  std::error_code Sync(RawFile& file) override {
    ++syncs;
    return failing_ == Step::Sync ? fault_ : ReplaceSteps::Sync(file);
  }
  std::error_code Finish(RawFile& file) override {
    const std::error_code error = ReplaceSteps::Finish(file);
    return failing_ == Step::Finish ? fault_ : error;
  }
  std::error_code Rename(const std::filesystem::path& from, const std::filesystem::path& to) override {
    return failing_ == Step::Rename ? fault_ : ReplaceSteps::Rename(from, to);
  }

  static std::error_code Fault() { return std::make_error_code(std::errc::no_space_on_device); }

  int syncs = 0;

 private:
  Step failing_;
  std::error_code fault_;
};

std::vector<std::string> Names(const std::filesystem::path& directory) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(FileReplace, AFailureAtAnyStepKeepsTheEarlierFileAndLeavesNothingBehind) {
  const std::vector<std::uint8_t> data(2048, 0x5A);
  for (const Step step : {Step::Create, Step::Write, Step::Sync, Step::Finish, Step::Rename, Step::None}) {
    for (const Durability durability : {Durability::PowerLoss, Durability::ProgramEnd}) {
      TemporaryDirectory directory;
      const std::string earlier(1000, 'e');
      WriteFileBytes(directory / "backup.bin", earlier);
      FailingSteps steps(step);

      const auto failure = WriteWholeFile(directory / "backup.bin", data, durability, steps);

      // Only the user's own files wait for the disk.
      const bool syncs = durability == Durability::PowerLoss;
      EXPECT_EQ(steps.syncs, syncs && step > Step::Write ? 1 : 0) << static_cast<int>(step);
      if (step == Step::None || (step == Step::Sync && !syncs)) {
        EXPECT_FALSE(failure) << static_cast<int>(step);
        continue;
      }
      ASSERT_TRUE(failure.has_value()) << static_cast<int>(step);
      EXPECT_EQ(failure->whileOpening, step == Step::Create);
      EXPECT_EQ(failure->reason, FailingSteps::Fault());
      EXPECT_EQ(ReadFileBytes(directory / "backup.bin"), earlier) << static_cast<int>(step);
      EXPECT_EQ(Names(directory.path()), std::vector<std::string>{"backup.bin"}) << static_cast<int>(step);
    }
  }
}

// Written where it is, a file would be destroyed by a write stopped part way.
TEST(FileReplace, AFileInADirectoryThatTakesNoNewFilesIsRefusedAndLeftAsItWas) {
  TemporaryDirectory directory;
  WriteFileBytes(directory / "shared.bin", "earlier");
  FailingSteps steps(Step::Create, std::make_error_code(std::errc::permission_denied));
  const auto failure =
      WriteWholeFile(directory / "shared.bin", std::vector<std::uint8_t>(4, 'n'), Durability::PowerLoss, steps);
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->refusingFolder, directory.path());
  EXPECT_EQ(ReadFileBytes(directory / "shared.bin"), "earlier");
}

TEST(FileReplace, NamesThatCannotBeCreatedAreFoundBeforehandAndLeftUntouched) {
  TemporaryDirectory directory;
  std::filesystem::create_directory(directory / "adir");
  WriteFileBytes(directory / "old.bin", "old");
  std::error_code noLinks;  // Windows may not make links
  std::filesystem::create_symlink("loop.bin", directory / "loop.bin", noLinks);
  struct Case {
    std::string name;
    bool creatable;
  };
  for (const Case& c : {Case{"", false}, Case{"adir", false}, Case{"missing/x.bin", false},
                        Case{std::string(300, 'n'), false}, Case{"loop.bin", bool(noLinks)}, Case{"old.bin", true},
                        Case{"new.bin", true}}) {
    const auto problem = CheckCanCreate(c.name);
    EXPECT_EQ(!problem, c.creatable) << c.name;
    EXPECT_TRUE(!problem || (problem->whileOpening && problem->reason)) << c.name;
  }
  std::vector<std::string> left{"adir", "old.bin"};
  if (!noLinks) {
    EXPECT_EQ(CheckCanCreate("loop.bin")->reason, std::errc::too_many_symbolic_link_levels);
    left.insert(left.begin() + 1, "loop.bin");
  }
  EXPECT_EQ(Names(directory.path()), left);
  EXPECT_EQ(ReadFileBytes(directory / "old.bin"), "old");
}

}  // namespace
}  // namespace pavok::test
