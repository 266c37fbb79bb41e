#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "ImageFiles.h"
#include "SystemTexts.h"
#include "TestEnvironment.h"

namespace pavok::test {
namespace {

std::string Pattern(std::size_t size, char seed) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(seed + i * 7);
  return bytes;
}

std::string ImageStart(const Image& image, int size) { return {image.begin(), image.begin() + size}; }

void Choose(TestEnvironment& env, const std::filesystem::path& path, unsigned long errorCode = 0) {
  env.window.fileAnswers = {{path.string(), errorCode}};
}

TEST(ImageFiles, DialogRequestsNameTitleFiltersAndExtension) {
  TestEnvironment env;
  RunLoadImageFile();
  RunSaveImageFile();
  ASSERT_EQ(env.window.fileRequests.size(), 2u);
  const FileDialogRequest& open = env.window.fileRequests[0];
  const FileDialogRequest& save = env.window.fileRequests[1];
  EXPECT_EQ(open.kind, FileDialogKind::Open);
  EXPECT_EQ(save.kind, FileDialogKind::Save);
  EXPECT_EQ(open.title, "Открытие файла");
  EXPECT_EQ(save.title, "Сохранение буфера в файл");
  EXPECT_EQ(open.defaultExtension, "");
  EXPECT_EQ(save.defaultExtension, "bin");
  for (const FileDialogRequest& request : {open, save}) {
    ASSERT_EQ(request.filters.size(), 4u);
    EXPECT_EQ(request.filters[0].displayText, "Прошивки (*.bin)");
    EXPECT_EQ(request.filters[0].pattern, "*.bin");
    EXPECT_EQ(request.filters[1].displayText, "Все файлы (*.*)");
    EXPECT_EQ(request.filters[1].pattern, "*.*");
    EXPECT_EQ(request.filters[2].displayText, "Intel HEX (*.hex *.ihx)");
    EXPECT_EQ(request.filters[2].pattern, "*.hex;*.ihx");
    EXPECT_EQ(request.filters[3].displayText, "Motorola S-record (*.s19 *.srec *.mot)");
    EXPECT_EQ(request.filters[3].pattern, "*.s19;*.srec;*.mot");
    EXPECT_EQ(request.selectedFilter, 0);
  }
  // Saving under a filter adds its extension; every file keeps the request's.
  const std::vector<std::string> saveExtensions{"bin", "", "hex", "s19"};
  for (std::size_t i = 0; i < saveExtensions.size(); ++i) {
    EXPECT_EQ(save.filters[i].defaultExtension, saveExtensions[i]) << i;
    EXPECT_EQ(open.filters[i].defaultExtension, "") << i;
  }
}

TEST(ImageFiles, CancelOrDialogErrorWithoutPathOnlySetsTheStatus) {
  struct Case {
    unsigned long errorCode;
    std::string status;
  };
  for (const Case& c : {Case{0, ""}, Case{12290, "12290"}}) {
    for (const auto run : {&RunLoadImageFile, &RunSaveImageFile}) {
      TestEnvironment env;
      env.buffer().unsavedFlag = 1;
      env.window.answers = {true};
      env.window.fileAnswers = {{"", c.errorCode}};
      const BufferState before = env.buffer();
      EXPECT_EQ(run(), FileOutcome::Cancelled);
      EXPECT_EQ(env.window.CallsStartingWith("status: "), std::vector<std::string>{"status: " + c.status});
      EXPECT_TRUE(env.window.CallsStartingWith("message: ").empty());
      EXPECT_EQ(env.buffer().unsavedFlag, 1);
      EXPECT_EQ(env.buffer().workImage, before.workImage);
    }
  }
}

TEST(ImageFiles, LoadReplacesAtMostChipSizeBytesAndMakesTheReference) {
  struct Case {
    int chipSize;
    std::size_t fileSize;
  };
  for (const Case c : {Case{256, 10}, Case{256, 256}, Case{256, 3000}, Case{2048, 0}, Case{2048, 2047},
                       Case{2048, 2048}, Case{2048, 4096}}) {
    TestEnvironment env;
    env.buffer().chipSize = c.chipSize;
    const std::string earlier = Pattern(4096, 'a');
    std::copy(earlier.begin(), earlier.end(), env.buffer().workImage.begin());
    env.buffer().unsavedFlag = 1;
    env.window.answers = {true};
    const std::string file = Pattern(c.fileSize, 'Z');
    WriteFileBytes(env.directory / "in.bin", file);
    Choose(env, env.directory / "in.bin");

    EXPECT_EQ(RunLoadImageFile(), FileOutcome::Completed);

    const std::size_t taken = std::min(c.fileSize, static_cast<std::size_t>(c.chipSize));
    const std::string expected = file.substr(0, taken) + earlier.substr(taken, c.chipSize - taken);
    EXPECT_EQ(ImageStart(env.buffer().workImage, c.chipSize), expected) << c.chipSize << "/" << c.fileSize;
    EXPECT_EQ(ImageStart(env.buffer().referenceImage, c.chipSize), expected);
    EXPECT_EQ(env.buffer().workImage[static_cast<std::size_t>(c.chipSize)],
              static_cast<std::uint8_t>(earlier[static_cast<std::size_t>(c.chipSize)]));
    EXPECT_EQ(env.buffer().referenceImage[static_cast<std::size_t>(c.chipSize)], 0xFF);
    EXPECT_EQ(env.buffer().chipSize, c.chipSize);
    EXPECT_EQ(env.buffer().unsavedFlag, 0);
    EXPECT_EQ(env.window.status, (env.directory / "in.bin").string());
  }
}

// A file that refuses write access even to root: the running test program
// itself (the kernel answers "text file busy"). Empty where the kernel lets
// it be opened for writing after all.
std::filesystem::path RunningProgramIfWriteProtected() {
  std::error_code ec;
  const auto program = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return {};
  std::FILE* file = std::fopen(program.string().c_str(), "r+b");
  if (file == nullptr) return program;
  std::fclose(file);
  return {};
}

std::string FileStart(const std::filesystem::path& path, std::size_t size) {
  std::ifstream in(path, std::ios::binary);
  std::string bytes(size, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(size));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return bytes;
}

TEST(ImageFiles, WriteProtectedFileLoads) {
  // The permission bits stop anyone but root; the running program stops root
  // too, where tests are often run.
  TestEnvironment env;
  const auto readOnly = env.directory / "ro.bin";
  WriteFileBytes(readOnly, Pattern(2048, 'r'));
  std::filesystem::permissions(readOnly, std::filesystem::perms::owner_read | std::filesystem::perms::group_read |
                                             std::filesystem::perms::others_read);
  for (const auto& path : {readOnly, RunningProgramIfWriteProtected()}) {
    if (path.empty()) continue;
    Choose(env, path);
    EXPECT_EQ(RunLoadImageFile(), FileOutcome::Completed) << path;
    EXPECT_EQ(ImageStart(env.buffer().workImage, 2048), FileStart(path, 2048)) << path;
  }
}

TEST(ImageFiles, UnopenableFileIsReportedAndChangesNothing) {
  struct Case {
    const char* name;
    FileResult (*run)();
  };
  for (const Case& c : {Case{"missing.bin", &RunLoadImageFile}, Case{"adir", &RunLoadImageFile},
                        Case{"no/such/dir.bin", &RunSaveImageFile}, Case{"adir", &RunSaveImageFile}}) {
    TestEnvironment env;
    std::filesystem::create_directory(env.directory / "adir");
    env.buffer().unsavedFlag = 1;
    env.window.answers = {true};
    Choose(env, env.directory / c.name, 7);
    const BufferState before = env.buffer();

    EXPECT_EQ(c.run(), FileOutcome::OpenFailed) << c.name;

    EXPECT_EQ(env.window.CallsStartingWith("message: "),
              std::vector<std::string>{"message: " + std::string(kCannotOpenFileMessage)});
    EXPECT_EQ(env.window.status, "7");  // a dialog error code is shown, the path still used
    EXPECT_EQ(env.buffer().unsavedFlag, 1);
    EXPECT_EQ(env.buffer().workImage, before.workImage);
    EXPECT_EQ(env.buffer().referenceImage, before.referenceImage);
  }
}

TEST(ImageFiles, UnsavedQuestionOnLoad) {
  TestEnvironment env;
  env.buffer().unsavedFlag = 1;
  env.window.answers = {false};
  Choose(env, env.directory / "never.bin");
  EXPECT_EQ(RunLoadImageFile(), FileOutcome::Declined);
  EXPECT_EQ(env.window.calls, std::vector<std::string>{"ask: " + std::string(kUnsavedQuestion)});
  EXPECT_EQ(env.window.status, "Static");
  // Saving asks nothing.
  Choose(env, env.directory / "out.bin");
  EXPECT_EQ(RunSaveImageFile(), FileOutcome::Completed);
  EXPECT_EQ(env.window.CallsStartingWith("ask: ").size(), 1u);
}

TEST(ImageFiles, SaveWritesExactlyChipSizeBytesOverAnyEarlierFile) {
  for (const ChipType& type : kChipTypes) {
    TestEnvironment env;
    env.buffer().chipSize = type.size;
    const std::string contents = Pattern(4096, 's');
    std::copy(contents.begin(), contents.end(), env.buffer().workImage.begin());
    env.buffer().unsavedFlag = 1;
    WriteFileBytes(env.directory / "out.bin", std::string(5000, 'x'));
    Choose(env, env.directory / "out.bin");

    EXPECT_EQ(RunSaveImageFile(), FileOutcome::Completed);

    EXPECT_EQ(ReadFileBytes(env.directory / "out.bin"), contents.substr(0, static_cast<std::size_t>(type.size)));
    EXPECT_EQ(env.buffer().unsavedFlag, 0);
    EXPECT_TRUE(env.window.messages.empty());
  }
}

TEST(ImageFiles, FailedSaveIsReportedAndKeepsTheFlag) {
  TestEnvironment env;
  env.buffer().unsavedFlag = 1;
  Choose(env, "/dev/full");
  EXPECT_EQ(RunSaveImageFile(), FileOutcome::WriteFailed);
  EXPECT_EQ(env.window.messages, std::vector<std::string>{std::string(kFileWriteErrorMessage)});
  EXPECT_EQ(env.buffer().unsavedFlag, 1);
  EXPECT_EQ(env.window.status, "/dev/full");
}

TEST(ImageFiles, LongPathsAreUsedWhole) {
  TestEnvironment env;
  std::filesystem::path dir = env.directory.path();
  for (int i = 0; i < 6; ++i) dir /= std::string(60, static_cast<char>('a' + i));
  std::filesystem::create_directories(dir);
  const auto path = dir / "Прошивка.bin";
  ASSERT_GT(path.string().size(), 400u);
  Choose(env, path);
  ASSERT_EQ(RunSaveImageFile(), FileOutcome::Completed);
  EXPECT_EQ(env.window.status, path.string());
  env.buffer().workImage[0] = 0x00;
  Choose(env, path);
  ASSERT_EQ(RunLoadImageFile(), FileOutcome::Completed);
  EXPECT_EQ(env.buffer().workImage[0], 0xFF);
}

TEST(ImageFiles, EveryChipTypeRoundTripsInEveryFormat) {
  for (const ChipType& type : kChipTypes) {
    for (const char* name : {"image.bin", "image.hex", "image.s19"}) {
      TestEnvironment env;
      env.buffer().chipSize = type.size;
      // 0x55 then 0xAA over a pattern: a byte that lost bits shows.
      std::string saved = Pattern(static_cast<std::size_t>(type.size), 'p');
      saved[0] = '\x55';
      saved[saved.size() - 1] = '\xAA';
      std::copy(saved.begin(), saved.end(), env.buffer().workImage.begin());
      Choose(env, env.directory / name);
      ASSERT_EQ(RunSaveImageFile(), FileOutcome::Completed) << name;
      ResetBuffer(env.buffer());
      Choose(env, env.directory / name);

      const FileResult loaded = RunLoadImageFile();

      EXPECT_EQ(loaded.outcome, FileOutcome::Completed) << type.label << " " << name << env.window.calls.back();
      EXPECT_EQ(loaded.bytes, saved.size());
      EXPECT_EQ(ImageStart(env.buffer().workImage, type.size), saved) << type.label << " " << name;
      EXPECT_EQ(ImageStart(env.buffer().referenceImage, type.size), saved);
    }
  }
}

TEST(ImageFiles, TextImageGivesOnlyItsOwnBytes) {
  TestEnvironment env;
  const std::string earlier = Pattern(2048, 'e');
  std::copy(earlier.begin(), earlier.end(), env.buffer().workImage.begin());
  env.buffer().unsavedFlag = 1;
  env.window.answers = {true};
  // Two bytes at 0x10 and one at 0x7F0, written in two pieces.
  WriteFileBytes(env.directory / "patch.hex", ":02001000AA55EF\n:0107F0000107\n:00000001FF\n");
  Choose(env, env.directory / "patch.hex");

  const FileResult result = RunLoadImageFile();

  EXPECT_EQ(result.outcome, FileOutcome::Completed) << env.window.calls.back();
  EXPECT_EQ(result.bytes, 3u);
  std::string expected = earlier;
  expected[0x10] = '\xAA';
  expected[0x11] = '\x55';
  expected[0x7F0] = '\x01';
  EXPECT_EQ(ImageStart(env.buffer().workImage, 2048), expected);
  EXPECT_EQ(ImageStart(env.buffer().referenceImage, 2048), expected);
  EXPECT_EQ(env.buffer().unsavedFlag, 0);
  EXPECT_EQ(env.window.status, (env.directory / "patch.hex").string());
}

TEST(ImageFiles, BadTextImageIsNamedByLineAndChangesNothing) {
  struct Case {
    const char* name;
    std::string contents;
    int chipSize;
    std::string message;
  };
  const std::string goodLine = ":10000000000102030405060708090A0B0C0D0E0F78\n";
  for (const Case& c : {
           Case{"checksum.hex", goodLine + ":02001000AA55EE\n:00000001FF\n", 2048,
                "Ошибка в строке 2 файла: неверная контрольная сумма"},
           Case{"cut.hex", goodLine, 2048, "Ошибка в строке 2 файла: нет записи конца файла"},
           Case{"empty.hex", "", 2048, "Ошибка в строке 1 файла: в файле нет данных"},
           Case{"c04-on-c02.s19", "S1130000000102030405060708090A0B0C0D0E0F74\nS11303F0000102030405060708090A0B0C0D0E0F81\n"
                           "S9030000FC\n",
                256, "Ошибка в строке 2 файла: адрес за пределами микросхемы"},
           Case{"binary.srec", Pattern(2048, 'b'), 2048, "Ошибка в строке 1 файла: строка не начинается с «S»"},
           Case{"huge.hex", std::string(4 * 1024 * 1024 + 1, '\n'), 2048, "Файл слишком большой"},
       }) {
    TestEnvironment env;
    env.buffer().chipSize = c.chipSize;
    const std::string earlier = Pattern(4096, 'q');
    std::copy(earlier.begin(), earlier.end(), env.buffer().workImage.begin());
    env.buffer().unsavedFlag = 1;
    env.window.answers = {true};
    WriteFileBytes(env.directory / c.name, c.contents);
    Choose(env, env.directory / c.name);
    const BufferState before = env.buffer();

    EXPECT_EQ(RunLoadImageFile(), FileOutcome::Malformed) << c.name;

    EXPECT_EQ(env.window.CallsStartingWith("message: "), std::vector<std::string>{"message: " + c.message}) << c.name;
    EXPECT_EQ(env.buffer().workImage, before.workImage) << c.name;
    EXPECT_EQ(env.buffer().referenceImage, before.referenceImage) << c.name;
    EXPECT_EQ(env.buffer().unsavedFlag, 1) << c.name;
    EXPECT_EQ(env.window.status, (env.directory / c.name).string());
  }
}

TEST(ImageFiles, FailedTextSaveIsReportedAndKeepsTheFlag) {
  for (const ImageFormatId format : {ImageFormatId::IntelHex, ImageFormatId::SRecord}) {
    TestEnvironment env;
    env.buffer().unsavedFlag = 1;
    Choose(env, "/dev/full");
    EXPECT_EQ(RunSaveImageFileAs(format), FileOutcome::WriteFailed);
    EXPECT_EQ(env.window.messages, std::vector<std::string>{std::string(kFileWriteErrorMessage)});
    EXPECT_EQ(env.buffer().unsavedFlag, 1);
  }
}

}  // namespace
}  // namespace pavok::test
