#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <numeric>

#include "ChipRead.h"
#include "DeviceChannel.h"
#include "SystemTexts.h"
#include "TestEnvironment.h"

namespace pavok::test {
namespace {

// Fills the emulated chip with a pattern that differs in every byte of a bank
// and between banks, so a wrong address shows.
void FillChipWithPattern(EmulatedAdapter& adapter) {
  std::vector<std::uint8_t> pattern(static_cast<std::size_t>(adapter.chip().size()));
  for (std::size_t i = 0; i < pattern.size(); ++i) pattern[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
  adapter.chip().Load(pattern);
}

bool ImagesHoldChipUpTo(const TestEnvironment& env, BufferState& buffer, int end) {
  const auto chip = env.adapter.chip().contents();
  return std::equal(chip.begin(), chip.begin() + end, buffer.workImage.begin()) &&
         std::equal(chip.begin(), chip.begin() + end, buffer.referenceImage.begin());
}

TEST(ChipRead, CompleteReadFillsBothImagesDumpsAndClearsFlag) {
  TestEnvironment env;
  FillChipWithPattern(env.adapter);
  env.buffer().unsavedFlag = 1;
  env.buffer().workImage[2048] = 0x12;  // beyond the chip: must stay
  env.window.answers = {true};

  EXPECT_EQ(RunReadChip(), ReadOutcome::Completed);

  EXPECT_TRUE(ImagesHoldChipUpTo(env, env.buffer(), 2048));
  EXPECT_EQ(env.buffer().workImage[2048], 0x12);
  EXPECT_EQ(env.buffer().unsavedFlag, 0);
  const std::string dump = ReadFileBytes(env.directory / "temp.bin");
  ASSERT_EQ(dump.size(), 2048u);
  EXPECT_TRUE(std::equal(dump.begin(), dump.end(), env.buffer().workImage.begin(),
                         [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; }));
  EXPECT_EQ(env.window.progressMax, 64);
  EXPECT_EQ(env.window.progressPos, 0);
  EXPECT_EQ(env.window.status, kPortClosedText);
  EXPECT_EQ(env.window.calls.front(), "range: 0..64");
  EXPECT_EQ(env.window.calls[1], "ask: " + std::string(kUnsavedQuestion));
  EXPECT_EQ(env.window.calls[2], "status: " + std::string(kPortOpenText));
  // Progress moves forward block by block, then drops to 0 once.
  std::vector<int> expected(64);
  std::iota(expected.begin(), expected.end(), 1);
  expected.push_back(0);
  EXPECT_EQ(env.window.progressPositions, expected);
}

TEST(ChipRead, SendsOneBlockRequestPerBlockWithBankSelect) {
  struct Case {
    int chipSize;
    int blocks;
  };
  for (const Case c : {Case{256, 8}, Case{512, 16}, Case{1024, 32}, Case{2048, 64}}) {
    TestEnvironment env(c.chipSize);
    env.buffer().chipSize = c.chipSize;
    ASSERT_EQ(RunReadChip(), ReadOutcome::Completed);
    const auto& requests = env.adapter.requests();
    ASSERT_EQ(static_cast<int>(requests.size()), c.blocks);
    for (int i = 0; i < c.blocks; ++i) {
      const int offset = i * 32;
      const std::array<std::uint8_t, 5> wire{0x24, static_cast<std::uint8_t>(offset % 256), 0,
                                             static_cast<std::uint8_t>(0xA0 | (offset / 256) << 1), 0};
      EXPECT_EQ(requests[static_cast<std::size_t>(i)].request.bytes, wire) << "block " << i;
      EXPECT_EQ(requests[static_cast<std::size_t>(i)].replyOffered, 32u);
    }
    EXPECT_EQ(env.adapter.opens(), c.blocks);
    EXPECT_FALSE(env.adapter.isOpen());
  }
}

TEST(ChipRead, DumpHoldsExactlyTheChipOnEveryChipType) {
  for (const int chipSize : {256, 512, 1024, 2048}) {
    TestEnvironment env(chipSize);
    FillChipWithPattern(env.adapter);
    env.buffer().chipSize = chipSize;
    WriteFileBytes(env.directory / "temp.bin", std::string(4096, 'x'));  // longer than any chip

    ASSERT_EQ(RunReadChip(), ReadOutcome::Completed) << chipSize;

    const auto chip = env.adapter.chip().contents();
    EXPECT_EQ(ReadFileBytes(env.directory / "temp.bin"), std::string(chip.begin(), chip.end())) << chipSize;
  }
}

TEST(ChipRead, DeclinedQuestionChangesNothingButRangeAndStatus) {
  TestEnvironment env;
  FillChipWithPattern(env.adapter);
  WriteFileBytes(env.directory / "temp.bin", "old dump");
  env.buffer().unsavedFlag = 1;
  env.buffer().workImage[5] = 0x42;
  env.window.answers = {false};

  EXPECT_EQ(RunReadChip(), ReadOutcome::Declined);

  EXPECT_TRUE(env.adapter.requests().empty());
  EXPECT_EQ(env.buffer().workImage[5], 0x42);
  EXPECT_EQ(env.buffer().unsavedFlag, 1);
  EXPECT_EQ(ReadFileBytes(env.directory / "temp.bin"), "old dump");
  EXPECT_EQ(env.window.calls,
            (std::vector<std::string>{"range: 0..64", "ask: " + std::string(kUnsavedQuestion),
                                      "status: " + std::string(kPortClosedText)}));
}

// The dump is written only once the read is complete: one that cannot be
// written costs the read nothing, but it is reported.
TEST(ChipRead, DumpThatCannotBeWrittenIsReportedAfterTheRead) {
  TestEnvironment env;
  FillChipWithPattern(env.adapter);
  std::filesystem::create_directory(env.directory / "temp.bin");

  EXPECT_EQ(RunReadChip(), ReadOutcome::DumpNotWritten);

  EXPECT_TRUE(LastDumpFailure());
  EXPECT_TRUE(ImagesHoldChipUpTo(env, env.buffer(), 2048));
  EXPECT_EQ(env.window.messages, std::vector<std::string>{std::string(kFileWriteErrorMessage) + " temp.bin"});
  EXPECT_EQ(env.window.status, kPortClosedText);
}

TEST(ChipRead, FailureAtBlockKKeepsEarlierBlocksAndLeavesProgress) {
  for (const int k : {0, 1, 5, 63}) {
    TestEnvironment env;
    FillChipWithPattern(env.adapter);
    // The two images differ, so a read that put anything into either one
    // beyond the blocks that arrived shows.
    env.buffer().workImage.fill(0xA5);
    env.buffer().referenceImage.fill(0x5A);
    env.buffer().unsavedFlag = 1;
    env.window.answers = {true};
    WriteFileBytes(env.directory / "temp.bin", "old dump");
    env.adapter.SetFaultPlan(FaultPlan::FailAt(k));

    EXPECT_EQ(RunReadChip(), ReadOutcome::DeviceFailed) << k;

    EXPECT_TRUE(ImagesHoldChipUpTo(env, env.buffer(), 32 * k)) << k;
    const auto arrivedEnd = static_cast<std::ptrdiff_t>(32 * k);
    EXPECT_TRUE(std::all_of(env.buffer().workImage.begin() + arrivedEnd, env.buffer().workImage.end(),
                            [](std::uint8_t byte) { return byte == 0xA5; })) << k;
    EXPECT_TRUE(std::all_of(env.buffer().referenceImage.begin() + arrivedEnd, env.buffer().referenceImage.end(),
                            [](std::uint8_t byte) { return byte == 0x5A; })) << k;
    EXPECT_EQ(env.buffer().unsavedFlag, 1) << k;
    EXPECT_EQ(ReadFileBytes(env.directory / "temp.bin"), "old dump") << k;
    EXPECT_EQ(env.window.progressPos, k) << k;
    EXPECT_EQ(env.window.status, kPortClosedText);
    EXPECT_EQ(static_cast<int>(env.adapter.requests().size()), k + 1);
  }
}

TEST(ChipRead, ShortOrEmptyReplyFailsTheReadWithOneMessage) {
  for (const bool empty : {true, false}) {
    TestEnvironment env;
    FillChipWithPattern(env.adapter);
    env.adapter.SetFaultPlan(empty ? FaultPlan::EmptyReplyAt(2) : FaultPlan::ShortReplyAt(2, 31));

    EXPECT_EQ(RunReadChip(), ReadOutcome::DeviceFailed);
    EXPECT_EQ(env.window.messages, std::vector<std::string>{"Ошибка чтения микросхемы по адресу 0040: адаптер не "
                                                             "отвечает. Буфер прочитан частично."});
    EXPECT_EQ(env.buffer().workImage[64], 0xFF) << "stale reply bytes copied";
    EXPECT_EQ(env.window.progressPos, 2);
  }
}

TEST(ChipRead, AbsentAdapterShowsOneMessage) {
  TestEnvironment env;
  env.adapter.SetFaultPlan(FaultPlan::Absent());

  EXPECT_EQ(RunReadChip(), ReadOutcome::DeviceFailed);

  EXPECT_EQ(env.window.messages, std::vector<std::string>{std::string(kOpenFailedMessage)});
  EXPECT_TRUE(env.adapter.requests().empty());
  EXPECT_EQ(env.window.status, kPortClosedText);
}

TEST(ChipRead, SmallerChipThanSelectedFailsAtItsFirstMissingBank) {
  TestEnvironment env(256);  // a C02 on the adapter, "C16" selected
  FillChipWithPattern(env.adapter);

  EXPECT_EQ(RunReadChip(), ReadOutcome::DeviceFailed);

  EXPECT_EQ(env.adapter.requests().size(), 9u);
  EXPECT_EQ(env.window.progressPos, 8);
  EXPECT_TRUE(ImagesHoldChipUpTo(env, env.buffer(), 256));
  // This adapter cannot tell a missing bank from a silent one: no hint.
  EXPECT_EQ(env.window.messages, std::vector<std::string>{"Ошибка чтения микросхемы по адресу 0100: адаптер не "
                                                           "отвечает. Буфер прочитан частично."});
}

TEST(ChipRead, UnplugMidReadShowsOpenMessageOnce) {
  TestEnvironment env;
  env.adapter.SetFaultPlan(FaultPlan::UnplugAfter(10));

  EXPECT_EQ(RunReadChip(), ReadOutcome::DeviceFailed);

  EXPECT_EQ(env.window.messages, std::vector<std::string>{std::string(kOpenFailedMessage)});
  EXPECT_EQ(env.window.progressPos, 10);
}

TEST(ChipRead, WithoutActiveWindowDoesNotCrash) {
  TestEnvironment env;
  ActiveWindowScope noWindow(nullptr);
  env.buffer().unsavedFlag = 1;
  EXPECT_EQ(RunReadChip(), ReadOutcome::Declined);  // no window to ask: No
}

}  // namespace
}  // namespace pavok::test
