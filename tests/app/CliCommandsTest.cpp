#include <gtest/gtest.h>

#include <sstream>

#include "BufferState.h"
#include "CliCommands.h"
#include "CliTestSupport.h"
#include "DeviceChannel.h"
#include "OpenFailureHint.h"
#include "SystemTexts.h"
#include "TestEnvironment.h"

namespace pavok::test {
namespace {

bool Contains(const std::string& text, std::string_view part) { return text.find(part) != std::string::npos; }

// A working directory with an emulated C16 chip in "chip.bin".
class CliCommands : public ::testing::Test {
 protected:
  TemporaryDirectory directory;
  const std::string chip = PatternBytes(2048);

  void SetUp() override { WriteFileBytes(directory / "chip.bin", chip); }

  CliRun Run(std::vector<std::string> arguments, std::optional<std::string> answer = std::nullopt) {
    arguments.insert(arguments.begin(), {"--emulate", "--chip-image", "chip.bin"});
    return RunCli(arguments, std::move(answer));
  }
  std::string Chip() const { return ReadFileBytes(directory / "chip.bin"); }
};

TEST_F(CliCommands, ReadSavesTheChipAndLeavesTheDump) {
  const CliRun run = Run({"read", "out.bin"});
  EXPECT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(ReadFileBytes(directory / "out.bin"), chip);
  EXPECT_EQ(ReadFileBytes(directory / "temp.bin"), chip);
  EXPECT_EQ(run.errors, "");

  // A dump that cannot be written fails the command, but FILE is saved.
  std::filesystem::remove(directory / "temp.bin");
  std::filesystem::create_directory(directory / "temp.bin");
  const CliRun undumped = Run({"read", "again.bin"});
  EXPECT_EQ(undumped.status, 2);
  EXPECT_EQ(ReadFileBytes(directory / "again.bin"), chip);
  EXPECT_TRUE(undumped.errors.starts_with(std::string(kFileWriteErrorMessage) +
                                          " temp.bin\npavok-cli: read: temp.bin was not written: "))
      << undumped.errors;
  EXPECT_TRUE(undumped.errors.ends_with("; an earlier temp.bin is unchanged\n")) << undumped.errors;
}

TEST_F(CliCommands, ReadTakesTheSelectedChipTypesSize) {
  const CliRun run = Run({"--chip", "C02", "read", "out.bin"});
  EXPECT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(ReadFileBytes(directory / "out.bin"), chip.substr(0, 256));
}

TEST_F(CliCommands, FailedReadWritesNoFile) {
  WriteFileBytes(directory / "small.bin", PatternBytes(256));
  // A C02 on the adapter while C16 is selected: the read fails at bank 1.
  const CliRun run = RunCli({"--emulate", "--emulated-chip", "C02", "--chip-image", "small.bin", "read", "out.bin"});
  EXPECT_EQ(run.status, 2);
  EXPECT_FALSE(std::filesystem::exists(directory / "out.bin"));
  EXPECT_TRUE(Contains(run.errors, "out.bin not written")) << run.errors;
}

TEST_F(CliCommands, ReadToADeviceThatTakesNothingFails) {
  const CliRun run = Run({"read", "/dev/full"});
  EXPECT_EQ(run.status, 2);
  EXPECT_TRUE(run.errors.starts_with(std::string(kFileWriteErrorMessage) + "\n")) << run.errors;
  EXPECT_TRUE(Contains(run.errors, "/dev/full was not written: No space left on device")) << run.errors;
}

// Each of these is refused before a request reaches the adapter: the dump
// and the chip are as they were, and the reason is on the error stream.
TEST_F(CliCommands, BadFilesAndWordsAreRefusedWithTheirReasonBeforeTheAdapter) {
  std::filesystem::create_directory(directory / "a-directory");
  WriteFileBytes(directory / "empty.bin", "");
  WriteFileBytes(directory / "bad.hex", ":0100000001FE\n:02001000AA55EE\n:00000001FF\n");
  WriteFileBytes(directory / "no-data.hex", ":00000001FF\n");
  WriteFileBytes(directory / "cut.s19", "S1050010AA55EB\n");
  const std::string dump = PatternBytes(2048, 99);
  const std::string longName(300, 'n');
  struct Case {
    std::vector<std::string> arguments;
    std::string reason;
  };
  const std::string dumpClash = " is the dump temp.bin, which reading the chip replaces; copy it under another name first";
  for (const Case& c : {
           Case{{"--yes", "write", "--fast", "temp.bin"}, "write: temp.bin" + dumpClash},
           Case{{"verify", "./temp.bin"}, "verify: ./temp.bin" + dumpClash},
           Case{{"verify", "dump-link.bin"}, "verify: dump-link.bin" + dumpClash},
           Case{{"--yes", "write", "empty.bin"}, "write: empty.bin holds no data; nothing was sent to the adapter"},
           Case{{"compare", "/dev/null"}, "compare: /dev/null holds no data; nothing was sent to the adapter"},
           Case{{"verify", "empty.bin"}, "verify: empty.bin holds no data"},
           Case{{"--yes", "write", "missing.bin"}, "write: cannot read missing.bin: No such file or directory"},
           // The system's words differ from system to system; a reason follows the colon.
           Case{{"compare", "a-directory"}, "compare: cannot read a-directory: "},
           Case{{"verify", longName}, "verify: cannot read " + longName + ": "},
           Case{{"read", "a-directory"}, "read: cannot create a-directory: "},
           Case{{"read", "no-such-directory/out.bin"},
                "read: cannot create no-such-directory/out.bin: No such file or directory; the chip was not read"},
           Case{{"read", longName}, "read: cannot create " + longName + ": "},
           Case{{"--yes", "write", "bad.hex"},
                "Ошибка в строке 2 файла: неверная контрольная сумма\n"
                "pavok-cli: write: bad.hex is no usable Intel HEX; nothing was sent to the adapter"},
           Case{{"compare", "no-data.hex"}, "Ошибка в строке 1 файла: в файле нет данных\npavok-cli: compare: no-data.hex"},
           Case{{"verify", "cut.s19"},
                "Ошибка в строке 2 файла: нет записи конца файла\n"
                "pavok-cli: verify: cut.s19 is no usable Motorola S-record"},
           Case{{"--format", "srec", "--yes", "write", "bad.hex"}, "Ошибка в строке 1 файла: строка не начинается с «S»"},
           Case{{"--format", "hex", "read", "x.hex"}, "\"hex\" is not an image format: expected raw, ihex or srec"},
           Case{{"read", ""}, "FILE: the file name is empty"},
           Case{{"--emulated-delay-us", "abc", "read", "x.bin"},
                "--emulated-delay-us: \"abc\" is not a number: expected a whole number from 0 to 1000000"},
           Case{{"foo"}, "\"foo\" is not a command: expected read, write, erase, compare, verify or probe"},
       }) {
    WriteFileBytes(directory / "temp.bin", dump);
    std::filesystem::remove(directory / "dump-link.bin");
    std::filesystem::create_hard_link(directory / "temp.bin", directory / "dump-link.bin");

    const CliRun run = Run(c.arguments);

    EXPECT_EQ(run.status, 2) << c.reason;
    EXPECT_TRUE(Contains(run.errors, c.reason)) << run.errors;
    EXPECT_TRUE(ReadFileBytes(directory / "temp.bin") == dump) << c.reason;
    EXPECT_TRUE(Chip() == chip) << c.reason;
  }
}

TEST_F(CliCommands, WriteAndEraseNeedAYes) {
  const std::string image = PatternBytes(2048, 13);
  WriteFileBytes(directory / "image.bin", image);
  struct Case {
    std::vector<std::string> arguments;
    std::optional<std::string> typed;
    int status;
    std::string chipAfter;
  };
  for (const Case& c : {
           Case{{"write", "image.bin"}, std::nullopt, 2, chip},
           Case{{"write", "image.bin"}, "n", 2, chip},
           Case{{"erase"}, std::nullopt, 2, chip},
           Case{{"write", "image.bin"}, "y", 0, image},
           Case{{"--yes", "write", "--fast", "image.bin"}, std::nullopt, 0, image},
           Case{{"erase", "--yes"}, std::nullopt, 0, std::string(2048, '\xFF')},
       }) {
    WriteFileBytes(directory / "chip.bin", chip);
    const CliRun run = Run(c.arguments, c.typed);
    EXPECT_EQ(run.status, c.status) << c.arguments.front() << run.errors;
    EXPECT_TRUE(Chip() == c.chipAfter) << c.arguments.front();
    if (c.status != 0) {
      EXPECT_TRUE(Contains(run.errors, "declined; the chip was not changed")) << run.errors;
    }
    if (!c.typed && c.status != 0) {
      const bool erase = c.arguments.front() == "erase";
      EXPECT_TRUE(Contains(run.errors, erase ? "Очистить м/сх ?\n" : "Записать буфер в м/сх ?\n")) << run.errors;
    }
  }
}

TEST_F(CliCommands, CompareAndVerifyTellAgreementByStatus) {
  std::string differing = chip;
  differing[0x10] = static_cast<char>(chip[0x10] + 1);
  differing[0x7FE] = static_cast<char>(chip[0x7FE] - 1);  // the sums still agree
  WriteFileBytes(directory / "same.bin", chip);
  WriteFileBytes(directory / "differing.bin", differing);
  WriteFileBytes(directory / "blank.bin", std::string(2048, '\xFF'));
  struct Case {
    std::string command;
    std::string file;
    int status;
    std::string output;  // on the error stream for compare, standard output for verify
  };
  for (const Case& c : {
           Case{"compare", "same.bin", 0, "\n\nOK !"},
           Case{"compare", "differing.bin", 1, "Прошивки не одинаковые !\nРазличных байтов: 2, первый по адресу 0010"},
           Case{"compare", "blank.bin", 1, "КС буфера: 7f800 \n\nПрошивки не одинаковые !"},
           Case{"verify", "same.bin", 0, "The chip matches same.bin (2048 bytes)."},
           Case{"verify", "differing.bin", 1,
                "2 of 2048 bytes differ between the chip and differing.bin:\n0x0010: chip 70, file 71\n"},
       }) {
    const CliRun run = Run({c.command, c.file});
    EXPECT_EQ(run.status, c.status) << c.command << " " << c.file << run.errors;
    EXPECT_TRUE(Contains(c.command == "compare" ? run.errors : run.out, c.output))
        << c.command << " " << c.file << "\n" << run.out << run.errors;
    EXPECT_EQ(Chip(), chip);
  }
}

TEST_F(CliCommands, VerifyShowsTheFirstDifferencesAndCountsTheRest) {
  const CliRun run = Run({"verify", "blank.bin"});
  EXPECT_EQ(run.status, 2);  // no such file yet
  WriteFileBytes(directory / "blank.bin", std::string(2048, '\xFF'));
  const CliRun blank = Run({"verify", "blank.bin"});
  EXPECT_EQ(blank.status, 1);
  EXPECT_TRUE(Contains(blank.out, "0x0000: chip 00, file FF\n0x0001: chip 07, file FF\n")) << blank.out;
  EXPECT_TRUE(Contains(blank.out, "0x000F: chip 69, file FF\n... and ")) << blank.out;
}

TEST_F(CliCommands, MissingImageFileFailsBeforeTheChipIsTouched) {
  for (const char* command : {"write", "compare", "verify"}) {
    const CliRun run = Run({"--yes", command, "missing.bin"});
    EXPECT_EQ(run.status, 2) << command;
    EXPECT_EQ(run.errors, std::string(kCannotOpenFileMessage) + "\npavok-cli: " + command +
                              ": cannot read missing.bin: No such file or directory\n");
    EXPECT_FALSE(std::filesystem::exists(directory / "temp.bin")) << command;
    EXPECT_EQ(Chip(), chip);
  }
}

// On a C02, whose write takes an eighth of a C16's.
TEST_F(CliCommands, TextImagesAreReadWrittenVerifiedAndCompared) {
  struct Case {
    std::vector<std::string> format;  // --format, when given
    std::string file;
    std::string starts;  // how the saved file begins
  };
  for (const Case& c : {
           Case{{}, "out.hex", ":10000000"},
           Case{{}, "out.S19", "S006000043303254\n"},
           Case{{"--format", "ihex"}, "out.txt", ":10000000"},
           Case{{"--format", "raw"}, "out.hex", chip.substr(0, 16)},
       }) {
    const auto run = [&](std::vector<std::string> arguments) {
      arguments.insert(arguments.begin(), c.format.begin(), c.format.end());
      arguments.insert(arguments.begin(), {"--chip", "C02"});
      return Run(arguments);
    };
    WriteFileBytes(directory / "chip.bin", chip);
    ASSERT_EQ(run({"read", c.file}).status, 0) << c.file;
    EXPECT_TRUE(ReadFileBytes(directory / c.file).starts_with(c.starts)) << c.file;
    WriteFileBytes(directory / "chip.bin", std::string(2048, '\xFF'));
    const CliRun written = run({"--yes", "write", c.file});
    EXPECT_EQ(written.status, 0) << written.errors;
    EXPECT_EQ(written.errors, "");
    EXPECT_TRUE(Chip() == chip.substr(0, 256) + std::string(2048 - 256, '\xFF')) << c.file;
    EXPECT_EQ(run({"verify", c.file}).status, 0) << c.file;
    EXPECT_EQ(run({"compare", c.file}).status, 0) << c.file;
  }
}

// write never writes what FILE does not give: a FILE of another size is
// refused before anything is sent, unless --pad or --merge says what to do.
TEST_F(CliCommands, WriteOfAFileNotTheChipsSizeIsRefusedUnlessPaddedOrMerged) {
  const std::string shortFile = PatternBytes(256, 13);
  WriteFileBytes(directory / "short.bin", shortFile);
  WriteFileBytes(directory / "long.bin", PatternBytes(4096, 13));
  WriteFileBytes(directory / "patch.hex", ":02001000AA55EF\n:00000001FF\n");
  std::string patched = chip;
  patched.replace(0x10, 2, "\xAA\x55");
  const std::string refused = "; nothing was sent to the adapter (write --pad writes FF for missing bytes";
  struct Case {
    std::vector<std::string> arguments;
    int status;
    std::string errors;  // a part of them
    std::string chipAfter;
  };
  for (const Case& c : {
           Case{{"write", "short.bin"}, 2, "short.bin holds 256 bytes, the chip 2048" + refused, chip},
           Case{{"write", "--fast", "short.bin"}, 2, "short.bin holds 256 bytes, the chip 2048" + refused, chip},
           Case{{"write", "long.bin"}, 2, "long.bin holds 4096 bytes, the chip 2048" + refused, chip},
           Case{{"--chip", "24C02", "write", "patch.hex"}, 2, "patch.hex gives 2 of the chip's 256 bytes" + refused,
                chip},
           Case{{"write", "--pad", "short.bin"}, 0,
                "short.bin holds 256 bytes, the chip 2048; the bytes beyond the file are taken as FF",
                shortFile + std::string(2048 - 256, '\xFF')},
           Case{{"write", "--pad", "long.bin"}, 0, "; only the first 2048 are used", PatternBytes(2048, 13)},
           Case{{"--chip", "c02", "write", "--pad", "patch.hex"}, 0,
                "patch.hex gives 2 of the chip's 256 bytes; the others are taken as FF",
                std::string(16, '\xFF') + "\xAA\x55" + std::string(256 - 18, '\xFF') + chip.substr(256)},
           Case{{"write", "--merge", "short.bin"}, 0, "; the others are kept as the chip holds them",
                shortFile + chip.substr(256)},
           Case{{"--chip", "24c02", "write", "--merge", "--fast", "patch.hex"}, 0, "", patched},
           Case{{"write", "--pad", "--merge", "short.bin"}, 2, "excludes", chip},
       }) {
    WriteFileBytes(directory / "chip.bin", chip);
    std::vector<std::string> arguments = c.arguments;
    arguments.insert(arguments.begin(), "--yes");
    const CliRun run = Run(arguments);
    EXPECT_EQ(run.status, c.status) << c.arguments.back() << run.errors;
    EXPECT_TRUE(Contains(run.errors, c.errors)) << run.errors;
    EXPECT_TRUE(Chip() == c.chipAfter) << c.arguments.front() << " " << c.arguments.back();
  }
}

// The same commands on a scripted adapter, where the requests can be counted
// and faults injected.
class CliCommandsOnAdapter : public ::testing::Test {
 protected:
  TestEnvironment env;
  std::ostringstream out, errors;
  TerminalSettings settings{.assumeYes = true};

  ExitStatus Run(CliCommand command, std::string file = "image.bin", int chipSize = 2048) {
    TerminalWindow window(settings, errors);
    return RunCliCommand({command, std::move(file), chipSize}, window, out);
  }
};

TEST_F(CliCommandsOnAdapter, FastWriteSendsOnlyTheGroupsThatDifferFromTheChip) {
  const std::string chip = PatternBytes(2048);
  env.adapter.chip().Load(std::vector<std::uint8_t>(chip.begin(), chip.end()));
  std::string image = chip;
  image[0x101] = '\x55';  // group 0x40
  image[0x7FC] = '\xAA';  // group 0x1FF
  WriteFileBytes(env.directory / "image.bin", image);
  settings.fastWrite = true;

  EXPECT_EQ(Run(CliCommand::Write), ExitStatus::Success) << errors.str();

  const auto& requests = env.adapter.requests();
  ASSERT_EQ(requests.size(), 64u + 4u);
  const auto byte = [&image](std::size_t i) { return static_cast<std::uint8_t>(image[i]); };
  EXPECT_EQ(requests[64].request.bytes, (std::array<std::uint8_t, 5>{0x28, byte(0x100), 0x55, byte(0x102), byte(0x103)}));
  EXPECT_EQ(requests[65].request.bytes, (std::array<std::uint8_t, 5>{0x27, 0x00, 0x00, 0xA2, 0x00}));
  EXPECT_EQ(requests[67].request.bytes, (std::array<std::uint8_t, 5>{0x27, 0xFC, 0x00, 0xAE, 0x00}));
  const auto contents = env.adapter.chip().contents();
  EXPECT_TRUE(std::equal(contents.begin(), contents.end(), image.begin(),
                         [](std::uint8_t a, char b) { return a == static_cast<std::uint8_t>(b); }));
}

TEST_F(CliCommandsOnAdapter, AbsentAdapterFailsEveryCommandOnce) {
  env.adapter.SetFaultPlan(FaultPlan::Absent());
  WriteFileBytes(env.directory / "image.bin", PatternBytes(2048));
  for (const CliCommand command :
       {CliCommand::Read, CliCommand::Write, CliCommand::Erase, CliCommand::Compare, CliCommand::Verify}) {
    errors.str("");
    EXPECT_EQ(Run(command, command == CliCommand::Read ? "out.bin" : "image.bin"), ExitStatus::Failed);
    EXPECT_TRUE(errors.str().starts_with(std::string(kOpenFailedMessage) + "\npavok-cli: ")) << errors.str();
  }
  EXPECT_FALSE(std::filesystem::exists(env.directory / "out.bin"));
}

TEST_F(CliCommandsOnAdapter, ProbeSaysWhatAnsweredAndSucceedsOnlyWhenTheChipDid) {
  struct Case {
    const char* what;
    FaultPlan plan;
    ExitStatus status;
    std::string out;
    std::string errors;
  };
  const std::string adapter = "adapter: emulated adapter with a 2048-byte chip\n";
  const std::string cannotOpen = std::string(kOpenFailedMessage) + "\n";
  const Case cases[] = {
      {"answered", FaultPlan{}, ExitStatus::Success, adapter + "chip: answered a read of its first block\n", ""},
      {"no chip", FaultPlan::EmptyReplyAt(0), ExitStatus::Failed, adapter,
       "pavok-cli: probe: the adapter opened, but no chip answered a read of its first block\n"},
      {"absent", FaultPlan::Absent(), ExitStatus::Failed, "",
       cannotOpen + "pavok-cli: probe: adapter not found (emulated adapter with a 2048-byte chip)\n"},
      {"denied", FaultPlan::AccessDenied(), ExitStatus::Failed, "",
       cannotOpen + OpenFailureHint(OpenFailure::AccessDenied) +
           "\npavok-cli: probe: access to the adapter denied (emulated adapter with a 2048-byte chip)\n"},
  };
  for (const Case& c : cases) {
    EmulatedAdapter adapter{EepromModel(2048)};
    adapter.SetFaultPlan(c.plan);
    const TransportScope scope(adapter);
    out.str("");
    errors.str("");
    EXPECT_EQ(Run(CliCommand::Probe, ""), c.status) << c.what;
    EXPECT_EQ(out.str(), c.out) << c.what;
    EXPECT_EQ(errors.str(), c.errors) << c.what;
    EXPECT_EQ(adapter.opens(), 1) << c.what;
    EXPECT_EQ(adapter.exchanges(), c.out.empty() ? 0 : 1) << c.what;
  }
}

TEST_F(CliCommandsOnAdapter, EveryCommandStartsFromABlankBuffer) {
  Buffer().unsavedFlag = 1;
  Buffer().workImage[0] = 0x12;
  EXPECT_EQ(Run(CliCommand::Read, "out.bin", 256), ExitStatus::Success) << errors.str();
  EXPECT_EQ(Buffer().chipSize, 256);
  EXPECT_EQ(ReadFileBytes(env.directory / "out.bin"), std::string(256, '\xFF'));
  EXPECT_TRUE(env.window.calls.empty());  // the scripted window saw nothing
}

}  // namespace
}  // namespace pavok::test
