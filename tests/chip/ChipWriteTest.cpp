#include <gtest/gtest.h>

#include <numeric>

#include "ChipRead.h"
#include "ChipWrite.h"
#include "DeviceChannel.h"
#include "ImageFiles.h"
#include "SystemTexts.h"
#include "TestEnvironment.h"

namespace pavok::test {
namespace {

using Wire = std::array<std::uint8_t, 5>;

// The two requests that put `data` at `offset`.
std::vector<Wire> GroupWire(int offset, std::span<const std::uint8_t> data) {
  const auto select = static_cast<std::uint8_t>(0xA0 | (offset / 256) << 1);
  return {Wire{0x28, data[0], data[1], data[2], data[3]},
          Wire{0x27, static_cast<std::uint8_t>(offset % 256), 0x00, select, 0x00}};
}

std::vector<Wire> SentWire(const EmulatedAdapter& adapter) {
  std::vector<Wire> wire;
  for (const RecordedRequest& r : adapter.requests()) wire.push_back(r.request.bytes);
  return wire;
}

void FillWorkImage(BufferState& buffer, std::uint8_t seed) {
  for (std::size_t i = 0; i < 2048; ++i) buffer.workImage[i] = static_cast<std::uint8_t>(seed + i * 13 + i / 256);
}

// What the emulated chip holds, read back through the adapter into a fresh
// buffer as the program would read it.
std::vector<std::uint8_t> ReadBack(TestEnvironment& env) {
  env.buffer().unsavedFlag = 0;
  EXPECT_EQ(RunReadChip(), ReadOutcome::Completed);
  const auto begin = env.buffer().workImage.begin();
  return {begin, begin + env.buffer().chipSize};
}

TEST(ChipWrite, FullWriteSendsLoadThenWriteForEveryGroup) {
  for (const ChipType& type : kChipTypes) {
    TestEnvironment env(type.size);
    env.buffer().chipSize = type.size;
    FillWorkImage(env.buffer(), 3);
    env.buffer().unsavedFlag = 1;
    env.window.answers = {true};

    EXPECT_EQ(RunWriteChip(false), WriteOutcome::Completed);

    const int groups = type.size / 4;
    std::vector<Wire> expected;
    for (int g = 0; g < groups; ++g) {
      const auto wire = GroupWire(g * 4, std::span(env.buffer().workImage).subspan(g * 4, 4));
      expected.insert(expected.end(), wire.begin(), wire.end());
    }
    EXPECT_EQ(SentWire(env.adapter), expected) << type.label;
    for (const RecordedRequest& r : env.adapter.requests()) EXPECT_EQ(r.replyOffered, 1u);
    std::vector<int> positions(static_cast<std::size_t>(groups));
    std::iota(positions.begin(), positions.end(), 1);
    positions.push_back(0);
    EXPECT_EQ(env.window.progressPositions, positions);
    const std::vector<std::string> start(env.window.calls.begin(), env.window.calls.begin() + 5);
    EXPECT_EQ(start, (std::vector<std::string>{"ask: " + std::string(kWriteQuestion),
                                               "range: 0.." + std::to_string(groups), "checked: 1016",
                                               "checked: 1017", "status: " + std::string(kPortOpenText)}));
    EXPECT_EQ(env.window.calls.back(), "status: " + std::string(kPortClosedText));
    EXPECT_EQ(env.buffer().unsavedFlag, 0);
    const std::vector<std::uint8_t> written(env.buffer().workImage.begin(), env.buffer().workImage.begin() + type.size);
    EXPECT_EQ(ReadBack(env), written) << type.label;
  }
}

TEST(ChipWrite, LastGroupOfC16CarriesItsBytesInAddressOrder) {
  TestEnvironment env;
  std::copy_n(std::array<std::uint8_t, 4>{0x12, 0x34, 0x56, 0x78}.begin(), 4, env.buffer().workImage.begin() + 0x7FC);
  env.window.answers = {true};
  ASSERT_EQ(RunWriteChip(false), WriteOutcome::Completed);
  const auto wire = SentWire(env.adapter);
  ASSERT_EQ(wire.size(), 1024u);
  EXPECT_EQ(wire[1022], (Wire{0x28, 0x12, 0x34, 0x56, 0x78}));
  EXPECT_EQ(wire[1023], (Wire{0x27, 0xFC, 0x00, 0xAE, 0x00}));
}

TEST(ChipWrite, PatternsWrittenInTurnAreReadBack) {
  TestEnvironment env;
  for (const std::uint8_t pattern : {0x55, 0xAA}) {
    std::fill_n(env.buffer().workImage.begin(), 2048, pattern);
    env.window.answers = {true};
    ASSERT_EQ(RunWriteChip(false), WriteOutcome::Completed);
    EXPECT_EQ(ReadBack(env), std::vector<std::uint8_t>(2048, pattern));
  }
}

TEST(ChipWrite, EraseWritesFFEverywhereEvenWithFastWriteAndKeepsBufferAndFlag) {
  TestEnvironment env;
  FillWorkImage(env.buffer(), 9);
  env.adapter.chip().Load(std::vector<std::uint8_t>(2048, 0x55));
  const BufferState before = env.buffer();
  env.buffer().unsavedFlag = 1;
  env.buffer().changeMap[7] = 1;  // must not be recomputed
  env.window.checkBoxes[IDC_FAST_WRITE] = true;
  env.window.answers = {true};

  EXPECT_EQ(RunWriteChip(true), WriteOutcome::Completed);

  EXPECT_EQ(env.window.messages.front(), kEraseQuestion);
  EXPECT_EQ(env.adapter.requests().size(), 1024u);
  EXPECT_EQ(SentWire(env.adapter)[2], (Wire{0x28, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(env.buffer().changeMap[7], 1);
  EXPECT_EQ(env.buffer().unsavedFlag, 1);
  EXPECT_EQ(env.buffer().workImage, before.workImage);
  EXPECT_EQ(std::vector<std::uint8_t>(env.adapter.chip().contents().begin(), env.adapter.chip().contents().end()),
            std::vector<std::uint8_t>(2048, 0xFF));
  EXPECT_EQ(ReadBack(env), std::vector<std::uint8_t>(2048, 0xFF));
}

TEST(ChipWrite, DeclinedRunSendsNothingKeepsRangeAndFlag) {
  for (const bool erase : {false, true}) {
    TestEnvironment env;
    env.buffer().unsavedFlag = 1;
    env.window.answers = {false};
    EXPECT_EQ(RunWriteChip(erase), WriteOutcome::Declined);
    EXPECT_EQ(env.adapter.opens(), 0);
    EXPECT_EQ(env.buffer().unsavedFlag, 1);
    EXPECT_EQ(env.window.calls, (std::vector<std::string>{"ask: " + std::string(erase ? kEraseQuestion : kWriteQuestion),
                                                          "pos: 0", "status: " + std::string(kPortClosedText)}));
  }
}

// Brings the buffer to "just read" or "just loaded", where both images agree.
void AfterRead(TestEnvironment&) { ASSERT_EQ(RunReadChip(), ReadOutcome::Completed); }
void AfterLoad(TestEnvironment& env) {
  WriteFileBytes(env.directory / "image.bin", std::string(2048, '\x33'));
  env.window.fileAnswers = {{(env.directory / "image.bin").string(), 0}};
  ASSERT_EQ(RunLoadImageFile(), FileOutcome::Completed);
}

TEST(ChipWrite, FastWriteRightAfterReadOrLoadNeverOpensTheDevice) {
  for (const auto prepare : {&AfterRead, &AfterLoad}) {
    TestEnvironment env;
    FillWorkImage(env.buffer(), 1);
    prepare(env);
    const int opensBefore = env.adapter.opens();
    env.window.checkBoxes[IDC_FAST_WRITE] = true;
    env.window.answers = {true};
    EXPECT_EQ(RunWriteChip(false), WriteOutcome::Completed);
    EXPECT_EQ(env.adapter.opens(), opensBefore);
    EXPECT_EQ(env.window.progressPos, 0);
  }
}

TEST(ChipWrite, FastWriteAfterSavedLineSendsItsFourGroupsTwiceInARow) {
  for (const int n : {0, 5, 127}) {
    TestEnvironment env;
    AfterRead(env);
    const std::size_t base = static_cast<std::size_t>(n) * 16;
    for (std::size_t i = 0; i < 16; ++i) env.buffer().workImage[base + i] = static_cast<std::uint8_t>(i);
    env.buffer().unsavedFlag = 1;
    env.window.checkBoxes[IDC_FAST_WRITE] = true;
    env.window.answers = {true, true};
    const std::size_t readRequests = env.adapter.requests().size();

    ASSERT_EQ(RunWriteChip(false), WriteOutcome::Completed);
    const auto first = SentWire(env.adapter);
    std::vector<Wire> expected;
    for (int g = 0; g < 4; ++g) {
      const int offset = n * 16 + g * 4;
      const auto wire = GroupWire(offset, std::span(env.buffer().workImage).subspan(static_cast<std::size_t>(offset), 4));
      expected.insert(expected.end(), wire.begin(), wire.end());
    }
    EXPECT_EQ(std::vector<Wire>(first.begin() + static_cast<long>(readRequests), first.end()), expected) << n;
    EXPECT_EQ(std::vector<int>(env.window.progressPositions.end() - 5, env.window.progressPositions.end()),
              (std::vector<int>{4 * n + 1, 4 * n + 2, 4 * n + 3, 4 * n + 4, 0}));
    EXPECT_EQ(env.buffer().unsavedFlag, 0);
    EXPECT_EQ(env.adapter.chip().contents()[base + 15], 15);

    // The reference image is not brought up to date, so the same groups go again.
    ASSERT_EQ(RunWriteChip(false), WriteOutcome::Completed);
    const auto both = SentWire(env.adapter);
    EXPECT_EQ(std::vector<Wire>(both.end() - 8, both.end()), expected) << n;
    EXPECT_EQ(both.size(), first.size() + 8);
  }
}

TEST(ChipWrite, AbsentAdapterShowsOneMessageAndSendsNoWrite) {
  TestEnvironment env;
  env.adapter.SetFaultPlan(FaultPlan::Absent());
  env.buffer().unsavedFlag = 1;
  env.window.answers = {true};
  EXPECT_EQ(RunWriteChip(false), WriteOutcome::DeviceFailed);
  EXPECT_EQ(env.window.CallsStartingWith("message: "),
            std::vector<std::string>{"message: " + std::string(kOpenFailedMessage)});
  EXPECT_EQ(env.adapter.opens(), 1);
  EXPECT_EQ(env.buffer().unsavedFlag, 1);
  EXPECT_EQ(env.window.status, kPortClosedText);
}

TEST(ChipWrite, FailureMidWayKeepsEarlierGroupsOnChipAndTheFlag) {
  struct Case {
    FaultPlan plan;
    int sent;         // requests that reached the adapter
    int confirmed;    // groups whose write was answered
    int groupsOnChip; // a write that went unanswered may still have landed
  };
  // Even exchanges are loads, odd ones writes.
  for (const Case& c : {Case{FaultPlan::FailAt(0), 1, 0, 0}, Case{FaultPlan::FailAt(1), 2, 0, 0},
                        Case{FaultPlan::FailAt(10), 11, 5, 5}, Case{FaultPlan::EmptyReplyAt(13), 14, 6, 7},
                        Case{FaultPlan::UnplugAfter(6), 6, 3, 3}}) {
    TestEnvironment env;
    std::fill_n(env.buffer().workImage.begin(), 2048, 0x5A);
    env.buffer().unsavedFlag = 1;
    env.window.answers = {true};
    env.adapter.SetFaultPlan(c.plan);

    EXPECT_EQ(RunWriteChip(false), WriteOutcome::DeviceFailed);

    const auto chip = env.adapter.chip().contents();
    const auto landed = chip.begin() + c.groupsOnChip * 4;
    EXPECT_TRUE(std::all_of(chip.begin(), landed, [](auto b) { return b == 0x5A; })) << c.sent;
    EXPECT_TRUE(std::all_of(landed, chip.end(), [](auto b) { return b == 0xFF; })) << c.sent;
    // Nothing is sent after the failing request: a failed load has no write.
    EXPECT_EQ(static_cast<int>(env.adapter.requests().size()), c.sent);
    EXPECT_EQ(env.window.progressPositions.size(), static_cast<std::size_t>(c.confirmed + 1)) << c.sent;
    EXPECT_EQ(env.window.progressPos, 0);
    EXPECT_EQ(env.buffer().unsavedFlag, 1);
    EXPECT_EQ(env.window.status, kPortClosedText);
  }
}

}  // namespace
}  // namespace pavok::test
