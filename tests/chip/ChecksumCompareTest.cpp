#include <gtest/gtest.h>

#include "ChecksumCompare.h"
#include "DeviceChannel.h"
#include "SystemTexts.h"
#include "TestEnvironment.h"

namespace pavok::test {
namespace {

TEST(ChecksumCompare, MessageTextIsExact) {
  struct Case {
    ChecksumComparison sums;
    std::string text;
  };
  for (const Case& c : {
           Case{{0xff00, 0xff00}, "КС микросхемы: ff00 \nКС буфера: ff00 \n\nOK !"},
           Case{{0, 0x7f800}, "КС микросхемы: 0 \nКС буфера: 7f800 \n\nПрошивки не одинаковые !"},
           Case{{0x7f7ff, 0xabcde}, "КС микросхемы: 7f7ff \nКС буфера: abcde \n\nПрошивки не одинаковые !"},
           Case{{0xfd32, 0xfd32, 2, 0x0A},
                "КС микросхемы: fd32 \nКС буфера: fd32 \n\nПрошивки не одинаковые !\nРазличных байтов: 2, первый по "
                "адресу 000A"},
       }) {
    EXPECT_EQ(ComparisonMessage(c.sums), c.text);
  }
}

// Whatever a comparison does, it leaves everything the user could lose alone.
void ExpectNothingChanged(const TestEnvironment& env, const BufferState& before) {
  const BufferState& after = Buffer();
  EXPECT_EQ(after.workImage, before.workImage);
  EXPECT_EQ(after.referenceImage, before.referenceImage);
  EXPECT_EQ(after.changeMap, before.changeMap);
  EXPECT_EQ(after.unsavedFlag, before.unsavedFlag);
  EXPECT_FALSE(std::filesystem::exists(env.directory / "temp.bin"));
}

TEST(ChecksumCompare, CompleteComparisonShowsBothSumsOnce) {
  struct Case {
    const char* name;
    std::uint8_t chipByte;  // every chip byte but the swapped ones
    bool swapped;           // two bytes in the other order: same sum, other bytes
    std::uint32_t chipSum;
    bool equal;
    std::string_view ending;  // of the message
  };
  for (const Case& c : {Case{"blank", 0xFF, false, 0xff00, true, "OK !"},
                        Case{"swapped", 0xFF, true, 0xfd32, false, "Различных байтов: 2, первый по адресу 000A"},
                        Case{"zero", 0x00, false, 0, false, "Различных байтов: 256, первый по адресу 0000"}}) {
    TestEnvironment env(256);
    env.buffer().chipSize = 256;
    env.buffer().workImage[256] = 0x00;  // beyond the chip: not summed
    env.buffer().unsavedFlag = 1;
    env.buffer().changeMap[3] = 1;
    std::vector<std::uint8_t> chip(256, c.chipByte);
    if (c.swapped) {
      chip[10] = 0x20, chip[11] = 0x10;
      env.buffer().workImage[10] = 0x10, env.buffer().workImage[11] = 0x20;
    }
    env.adapter.chip().Load(chip);
    const BufferState before = env.buffer();

    const auto result = RunCompareChecksums();

    ASSERT_TRUE(result) << c.name;
    EXPECT_EQ(result->chipSum, c.chipSum) << c.name;
    EXPECT_EQ(result->Equal(), c.equal) << c.name;
    EXPECT_EQ(env.window.messages, std::vector<std::string>{ComparisonMessage(*result)});
    EXPECT_TRUE(env.window.messages.front().ends_with(c.ending)) << env.window.messages.front();
    EXPECT_EQ(env.window.progressPositions, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 0}));
    EXPECT_EQ(env.window.calls.front(), "range: 0..8");
    EXPECT_EQ(env.window.calls[1], "status: " + std::string(kPortOpenText));
    // The bar is back at 0 before the message box, the port closed after it.
    const std::vector<std::string> end(env.window.calls.end() - 3, env.window.calls.end());
    EXPECT_EQ(end, (std::vector<std::string>{"pos: 0", "message: " + ComparisonMessage(*result),
                                             "status: " + std::string(kPortClosedText)}));
    EXPECT_EQ(env.adapter.requests().size(), 8u);
    EXPECT_EQ(env.adapter.requests()[7].request.bytes, (std::array<std::uint8_t, 5>{0x24, 0xE0, 0, 0xA0, 0}));
    EXPECT_EQ(env.adapter.requests()[7].replyOffered, 32u);
    ExpectNothingChanged(env, before);
  }
}

TEST(ChecksumCompare, FailureEndsAtOnceLeavingTheBarWhereItStood) {
  struct Case {
    FaultPlan plan;
    int position;
    std::vector<std::string> messages;
  };
  const std::string failed = "Ошибка сравнения с микросхемой по адресу ";
  const std::string left = ": адаптер не отвечает. Буфер не изменён.";
  for (const Case& c : {Case{FaultPlan::FailAt(3), 3, {failed + "0060" + left}},
                        Case{FaultPlan::ShortReplyAt(5, 31), 5, {failed + "00A0" + left}},
                        Case{FaultPlan::Absent(), 7, {std::string(kOpenFailedMessage)}}}) {
    TestEnvironment env;
    env.window.progressPos = 7;  // where an earlier command left the bar
    env.buffer().unsavedFlag = 1;
    env.adapter.SetFaultPlan(c.plan);
    const BufferState before = env.buffer();

    EXPECT_FALSE(RunCompareChecksums());

    EXPECT_EQ(env.window.progressPos, c.position);
    EXPECT_EQ(env.window.progressMax, 64);
    EXPECT_EQ(env.window.messages, c.messages);
    EXPECT_EQ(env.window.status, kPortClosedText);
    ExpectNothingChanged(env, before);
  }
}

}  // namespace
}  // namespace pavok::test
