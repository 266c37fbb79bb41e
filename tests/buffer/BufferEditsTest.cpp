#include <gtest/gtest.h>

#include <algorithm>

#include "BufferEdits.h"
#include "HexCodec.h"

namespace pavok::test {
namespace {

constexpr std::string_view kAscending = "00 11 22 33 44 55 66 77 88 99 AA BB CC DD EE FF";

class BufferEdits : public ::testing::Test {
 protected:
  BufferEdits() { ResetBuffer(state); }

  bool LineIsErased(int line) const {
    const auto begin = state.workImage.begin() + line * kLineSize;
    return std::all_of(begin, begin + kLineSize, [](std::uint8_t b) { return b == 0xFF; });
  }

  BufferState state;
};

TEST_F(BufferEdits, ViewTextsOfAFreshBuffer) {
  EXPECT_EQ(ViewLineCount(state), 128);
  EXPECT_EQ(ViewLineText(state, 127), "07F0: FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF");
  EXPECT_EQ(ChecksumText(state), "КС: 7f800");
  state.chipSize = 256;
  EXPECT_EQ(ViewLineCount(state), 16);
  EXPECT_EQ(ChecksumText(state), "КС: ff00");
  state.workImage.fill(0);
  EXPECT_EQ(ChecksumText(state), "КС: 0");
}

TEST_F(BufferEdits, SaveLineStoresTheBytesAtEditLineIndexOnly) {
  state.editLineIndex = 5;
  EXPECT_EQ(SaveLine(state, "00,11,22,33,44,55,66,77,88,99,aa,bb,cc,dd,ee,ff"), std::nullopt);

  EXPECT_EQ(ViewLineText(state, 5), "0050: " + std::string(kAscending));
  EXPECT_EQ(state.unsavedFlag, 1);
  EXPECT_EQ(state.editLineIndex, 5);
  EXPECT_TRUE(LineIsErased(4));
  EXPECT_TRUE(LineIsErased(6));
  EXPECT_EQ(state.referenceImage[0x50], 0xFF);
  EXPECT_EQ(ChecksumText(state), "КС: 7f008");  // 0x7F800 - 16 * 0xFF + 0x7F8
}

TEST_F(BufferEdits, SavedLineIsWhatTheNextFastWriteFinds) {
  state.editLineIndex = 3;
  ASSERT_EQ(SaveLine(state, kAscending), std::nullopt);
  ComputeChangeMap(state);
  for (int group = 0; group < 32; ++group) {
    // The last group of the line ends in 0xFF bytes but begins with CC.
    EXPECT_EQ(state.changeMap[static_cast<std::size_t>(group)], group >= 12 && group < 16 ? 1 : 0) << group;
  }
}

TEST_F(BufferEdits, RefusedTextChangesNothingAndSaysWhy) {
  struct Case {
    std::string text;
    std::string message;
  };
  std::string badLast(kAscending);
  badLast.back() = 'X';
  std::string cyrillicDigit(kAscending);
  cyrillicDigit[9] = '\xC0';  // "А" where a digit belongs
  const Case cases[] = {
      {"", std::string(kEditLineLengthMessage)},
      {std::string(kAscending) + " ", std::string(kEditLineLengthMessage)},
      {badLast, "Неверная строка. Символ 46 ошибочный !"},
      {cyrillicDigit, "Неверная строка. Символ 9 ошибочный !"},
  };
  for (const Case& c : cases) {
    const BufferState before = state;
    EXPECT_EQ(SaveLine(state, c.text), c.message) << c.text;
    EXPECT_EQ(state.workImage, before.workImage);
    EXPECT_EQ(state.unsavedFlag, 0);
  }
}

TEST_F(BufferEdits, SaveLineBeyondASmallerChipWritesTheImageButNotTheChecksum) {
  state.editLineIndex = 100;
  state.chipSize = 256;
  ASSERT_EQ(SaveLine(state, kAscending), std::nullopt);
  EXPECT_EQ(state.workImage[100 * 16 + 1], 0x11);
  EXPECT_EQ(state.unsavedFlag, 1);
  EXPECT_EQ(ChecksumText(state), "КС: ff00");
}

TEST_F(BufferEdits, LinesOutsideTheImageAreLeftAlone) {
  for (const int line : {-1, kImageLineCount}) {
    state.editLineIndex = line;
    EXPECT_EQ(SaveLine(state, kAscending), std::nullopt);
    ClearLine(state, line);
    EXPECT_EQ(state.unsavedFlag, 0) << line;
  }
  state.editLineIndex = kImageLineCount - 1;
  ASSERT_EQ(SaveLine(state, kAscending), std::nullopt);
  EXPECT_EQ(state.workImage[kImageSize - 1], 0xFF);
  EXPECT_EQ(state.workImage[kImageSize - 2], 0xEE);
}

TEST_F(BufferEdits, ClearLineErasesOneLineAndRaisesTheFlagEvenWhenAlreadyErased) {
  state.workImage.fill(0);
  ClearLine(state, 2);
  EXPECT_TRUE(LineIsErased(2));
  EXPECT_EQ(state.workImage[2 * 16 - 1], 0);
  EXPECT_EQ(state.workImage[3 * 16], 0);
  EXPECT_EQ(state.unsavedFlag, 1);

  state.unsavedFlag = 0;
  ClearLine(state, 2);
  EXPECT_EQ(state.unsavedFlag, 1);
  EXPECT_EQ(state.referenceImage[2 * 16], 0xFF);
}

}  // namespace
}  // namespace pavok::test
