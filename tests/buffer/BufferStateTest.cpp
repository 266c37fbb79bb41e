#include <gtest/gtest.h>

#include "BufferState.h"

namespace pavok::test {
namespace {

BufferState FreshBuffer(int chipSize = 2048) {
  BufferState state;
  ResetBuffer(state);
  state.chipSize = chipSize;
  return state;
}

TEST(BufferState, StartUpStateAndReset) {
  BufferState state;
  EXPECT_EQ(state.chipSize, 2048);
  EXPECT_EQ(state.unsavedFlag, 0);
  EXPECT_EQ(state.editLineIndex, 0);

  state.workImage[65535] = 1;
  state.referenceImage[0] = 2;
  state.changeMap[2047] = 1;
  state.unsavedFlag = 1;
  state.editLineIndex = 7;
  ResetBuffer(state);

  for (const auto byte : state.workImage) ASSERT_EQ(byte, 0xFF);
  for (const auto byte : state.referenceImage) ASSERT_EQ(byte, 0xFF);
  for (const auto flag : state.changeMap) ASSERT_EQ(flag, 0);
  EXPECT_EQ(state.unsavedFlag, 1) << "reset leaves the flag to its owners";
  EXPECT_EQ(state.editLineIndex, 7);
}

TEST(BufferState, ChecksumCoversOnlyTheChip) {
  struct Case {
    int chipSize;
    std::uint32_t blankSum;
  };
  for (const Case c : {Case{256, 0xFF00}, Case{512, 0x1FE00}, Case{1024, 0x3FC00}, Case{2048, 0x7F800}}) {
    BufferState state = FreshBuffer(c.chipSize);
    EXPECT_EQ(BufferChecksum(state), c.blankSum);
    state.workImage[static_cast<std::size_t>(c.chipSize)] = 0;  // beyond the chip
    EXPECT_EQ(BufferChecksum(state), c.blankSum);
    state.workImage[0] = 0;
    EXPECT_EQ(BufferChecksum(state), c.blankSum - 0xFF);
  }
}

TEST(BufferState, ChangeMapFlagsExactlyTheChangedGroupsOfTheChip) {
  BufferState state = FreshBuffer();
  state.changeMap[600] = 1;  // stale flag from an earlier run
  state.workImage[0] = 0;          // group 0
  state.workImage[7] = 0;          // group 1, last byte
  state.workImage[2044] = 0x12;    // group 511, the chip's last
  state.workImage[2048] = 0;       // beyond the chip: never compared
  state.workImage[20] = 0x00;      // changed and set back: no flag
  state.workImage[20] = 0xFF;

  ComputeChangeMap(state);

  for (std::size_t g = 0; g < kChangeMapSize; ++g) {
    const bool expected = g == 0 || g == 1 || g == 511;
    EXPECT_EQ(state.changeMap[g], expected ? 1 : 0) << "group " << g;
  }
}

TEST(BufferState, ChangeMapOfSmallChipIgnoresHigherGroups) {
  BufferState state = FreshBuffer(256);
  state.workImage[256] = 0;
  state.workImage[255] = 0;
  ComputeChangeMap(state);
  EXPECT_EQ(state.changeMap[63], 1);
  EXPECT_EQ(state.changeMap[64], 0);
}

TEST(BufferState, WholeLineChangeFlagsItsFourGroups) {
  BufferState state = FreshBuffer();
  const int line = 5;
  for (int i = 0; i < 16; ++i) state.workImage[static_cast<std::size_t>(16 * line + i)] = static_cast<std::uint8_t>(i);
  ComputeChangeMap(state);
  int flagged = 0;
  for (std::size_t g = 0; g < kChangeMapSize; ++g) flagged += state.changeMap[g];
  EXPECT_EQ(flagged, 4);
  for (int g = 4 * line; g < 4 * line + 4; ++g) EXPECT_EQ(state.changeMap[static_cast<std::size_t>(g)], 1);
}

TEST(ChipTypeTable, LabelsAndSizesInListOrder) {
  ASSERT_EQ(kChipTypes.size(), 4u);
  EXPECT_EQ(kChipTypes[0].label, "C02");
  EXPECT_EQ(kChipTypes[3].size, 2048);
  EXPECT_EQ(FindChipType("C08")->size, 1024);
  EXPECT_FALSE(FindChipType("c08"));
  EXPECT_FALSE(FindChipType("C32"));
  EXPECT_EQ(kChipTypes[kInitialChipTypeIndex].label, "C16");
}

}  // namespace
}  // namespace pavok::test
