#include <gtest/gtest.h>

#include "HexCodec.h"
#include "RangeEdits.h"

namespace pavok::test {
namespace {

// A buffer with recognisable bytes everywhere, so any clearing shows.
BufferState PatternedBuffer(int chipSize = 2048) {
  BufferState state;
  for (std::size_t i = 0; i < kImageSize; ++i) {
    state.workImage[i] = static_cast<std::uint8_t>(i % 251);
    state.referenceImage[i] = state.workImage[i];
  }
  state.chipSize = chipSize;
  state.unsavedFlag = 0;
  return state;
}

// How many bytes of the images differ from the pattern, and where the first
// and last cleared ones are.
struct Cleared {
  int count = 0;
  int first = -1;
  int last = -1;
};

Cleared ClearedBytes(const BufferState& state) {
  Cleared cleared;
  for (std::size_t i = 0; i < kImageSize; ++i) {
    if (state.workImage[i] == i % 251) continue;
    if (cleared.first < 0) cleared.first = static_cast<int>(i);
    cleared.last = static_cast<int>(i);
    ++cleared.count;
  }
  return cleared;
}

TEST(ClearRange, ClearsTheInclusiveRangeClampedToTheChip) {
  struct Case {
    const char* start;
    const char* end;
    AddressRange shown;
    int first;
    int last;
  };
  const Case cases[] = {
      {"0000", "0000", {0x0000, 0x0000}, 0, 0},
      {"07F0", "07FF", {0x07F0, 0x07FF}, 0x7F0, 0x7FF},
      {"0100", "FFFF", {0x0100, 0x07FF}, 0x100, 0x7FF},
      {"01a0", "01aF", {0x01A0, 0x01AF}, 0x1A0, 0x1AF},
      {"07FF", "FFFF", {0x07FF, 0x07FF}, 0x7FF, 0x7FF},  // the chip's last byte alone
  };
  for (const Case& c : cases) {
    BufferState state = PatternedBuffer();
    const ClearRangeResult result = ClearRange(state, c.start, c.end);
    ASSERT_TRUE(std::holds_alternative<RangeCleared>(result)) << c.start;
    EXPECT_EQ(std::get<RangeCleared>(result).cleared, c.shown) << c.start;
    for (int i = c.first; i <= c.last; ++i) ASSERT_EQ(state.workImage[static_cast<std::size_t>(i)], 0xFF);
    const Cleared cleared = ClearedBytes(state);
    EXPECT_GE(cleared.first, c.first) << c.start;
    EXPECT_LE(cleared.last, c.last) << c.start;
    EXPECT_EQ(state.referenceImage[static_cast<std::size_t>(c.first)], c.first % 251) << "reference kept";
    EXPECT_EQ(state.unsavedFlag, 0);
  }
}

TEST(ClearRange, RangeWhollyBeyondTheChipClearsNothing) {
  struct Case {
    int chipSize;
    const char* start;
    const char* end;
  };
  for (const Case c : {Case{256, "0900", "0A00"}, Case{2048, "0900", "0A00"}, Case{256, "0100", "01FF"},
                       Case{2048, "0800", "0800"}}) {
    BufferState state = PatternedBuffer(c.chipSize);
    const ClearRangeResult result = ClearRange(state, c.start, c.end);
    EXPECT_TRUE(std::holds_alternative<RangeBeyondChip>(result)) << c.chipSize << " " << c.start;
    EXPECT_EQ(ClearedBytes(state).count, 0) << c.chipSize << " " << c.start;
  }
}

TEST(ClearRange, RefusesBadFieldsStartFieldFirst) {
  struct Case {
    const char* start;
    const char* end;
    std::string message;
  };
  const std::string length(kAddressLengthMessage);
  const Case cases[] = {
      {"", "0010", length},
      {"007", "0010", length},              // three hex digits are still too short
      {"G000", "00X0", BadCharacterMessage(0)},  // the start field decides first
      {"00G0", "0010", BadCharacterMessage(2)},
      {"000Z", "0010", BadCharacterMessage(3)},
      {"0000", "12", length},
      {"0000", "0Z10", BadCharacterMessage(1)},  // position inside the end field
      {"0000", "001\xC6", BadCharacterMessage(3)},  // Cyrillic letter, narrowed to one byte
      {"0010", "000F", std::string(kRangeOrderMessage)},
  };
  for (const Case& c : cases) {
    BufferState state = PatternedBuffer();
    const ClearRangeResult result = ClearRange(state, c.start, c.end);
    ASSERT_TRUE(std::holds_alternative<RangeRefused>(result)) << c.start << "-" << c.end;
    EXPECT_EQ(std::get<RangeRefused>(result).message, c.message) << c.start << "-" << c.end;
    EXPECT_EQ(ClearedBytes(state).count, 0);
  }
}

TEST(PadAddressText, FillsWithLeadingZerosWithoutValidating) {
  EXPECT_EQ(PadAddressText(""), "0000");
  EXPECT_EQ(PadAddressText("7F"), "007F");
  EXPECT_EQ(PadAddressText("XY"), "00XY");
  EXPECT_EQ(PadAddressText("07FF"), "07FF");
}

TEST(SelectChipType, SetsTheSizeOfTheRowOnlyForValidRows) {
  BufferState state;
  state.workImage[300] = 0x12;
  for (int index = 0; index < 4; ++index) {
    EXPECT_TRUE(SelectChipType(state, index));
    EXPECT_EQ(state.chipSize, kChipTypes[static_cast<std::size_t>(index)].size);
  }
  EXPECT_FALSE(SelectChipType(state, -1));
  EXPECT_FALSE(SelectChipType(state, 4));
  EXPECT_EQ(state.chipSize, 2048);
  EXPECT_EQ(state.workImage[300], 0x12) << "changing the type moves no data";
}

}  // namespace
}  // namespace pavok::test
