// The range fields, "область", "весь буфер" and the chip-type list as a user
// drives them. What ClearRange does to the buffer is tested in tests/buffer;
// here: the fields read and written, focus loss before the click, the view.

#include <gtest/gtest.h>

#include <algorithm>

#include "HexCodec.h"
#include "RangeEdits.h"
#include "ScriptedControls.h"

namespace pavok::test {

namespace {

// How many bytes of workImage[from, to] are 0xFF.
long ErasedBytes(std::size_t from, std::size_t to) {
  const auto& image = Buffer().workImage;
  return std::count(image.begin() + static_cast<long>(from), image.begin() + static_cast<long>(to) + 1, 0xFF);
}

class RangeCommandsTest : public ::testing::Test {
 protected:
  OpenedDialog opened;
  ScriptedControls& controls = opened.controls;

  const std::string& field(ControlId id) { return controls.Text(id); }
  ScriptedControls::Control& chipType() { return controls.controls[IDC_CHIP_TYPE]; }
  std::size_t lineCount() { return controls.controls[IDC_HEX_LIST].entries.size(); }
  void ChooseChipType(int index) {
    controls.MoveFocus(IDC_CHIP_TYPE);
    chipType().selection = index;
    controls.dialog.Notify(IDC_CHIP_TYPE, Notification::SelChange);
  }
};

// Typed into both fields, then "область" clicked.
TEST_F(RangeCommandsTest, ClearRange) {
  const struct {
    const char* name;
    std::string start, end, shownStart, shownEnd;
    int clearedFrom, clearedTo;  // -1: nothing cleared
    std::string message;
  } cases[] = {
      {"one byte", "0000", "0000", "0000", "0000", 0, 0, ""},
      {"last line", "07F0", "07FF", "07F0", "07FF", 0x7F0, 0x7FF, ""},
      {"end clamped", "0100", "FFFF", "0100", "07FF", 0x100, 0x7FF, ""},
      {"wholly beyond the chip", "0900", "0A00", "0900", "0A00", -1, -1, ""},
      {"order", "0010", "000F", "0010", "000F", -1, -1, "Начальный адрес меньше конечного !"},
      // Padded to 007F when the click takes the focus, then accepted.
      {"short end padded", "0000", "7F", "0000", "007F", 0, 0x7F, ""},
      // One character is one position, a Cyrillic letter too.
      {"Cyrillic letter in the end", "0000", "00Ж1", "0000", "00Ж1", -1, -1, "Неверная строка. Символ 2 ошибочный !"},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.name);
    OpenedDialog fresh;
    ScriptedControls& c = fresh.controls;
    Buffer().workImage.fill(0x00);
    fresh.dialog.RenderHexView();
    const std::string zeroedSum = c.Text(IDC_CHECKSUM);
    const std::string line1 = c.Entry(1);
    c.SelectEntry(IDC_HEX_LIST, 1);  // a rebuild of the view would drop the selection

    c.Type(IDC_RANGE_START, row.start);
    c.Type(IDC_RANGE_END, row.end);
    c.Click(IDC_CLEAR_RANGE);

    EXPECT_EQ(c.Text(IDC_RANGE_START), row.shownStart);
    EXPECT_EQ(c.Text(IDC_RANGE_END), row.shownEnd);
    EXPECT_EQ(fresh.window.messages,
              row.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{row.message});
    EXPECT_EQ(c.GetListSelection(IDC_HEX_LIST), row.clearedFrom < 0 ? 1 : -1);
    if (row.clearedFrom < 0) {
      EXPECT_EQ(ErasedBytes(0, kImageSize - 1), 0L);
      EXPECT_EQ(c.Text(IDC_CHECKSUM), zeroedSum);
      EXPECT_EQ(c.Entry(1), line1);
      continue;
    }
    const auto from = static_cast<std::size_t>(row.clearedFrom);
    const auto to = static_cast<std::size_t>(row.clearedTo);
    EXPECT_EQ(ErasedBytes(0, kImageSize - 1), static_cast<long>(to - from + 1));
    EXPECT_EQ(ErasedBytes(from, to), static_cast<long>(to - from + 1));
    EXPECT_EQ(c.Text(IDC_CHECKSUM), "КС: " + FormatChecksum(static_cast<std::uint32_t>((to - from + 1) * 0xFF)));
    const std::size_t byteInLine = from % 16;
    EXPECT_EQ(c.Entry(static_cast<int>(from / 16)).substr(6 + 3 * byteInLine, 2), "FF");
    EXPECT_EQ(Buffer().unsavedFlag, 0);
  }
}

// A field shortened by the program has not lost the focus, so it is not
// padded: the click (without a focus change) finds three characters.
TEST_F(RangeCommandsTest, FieldThatKeptTheFocusIsRefusedForItsLength) {
  controls.SetText(IDC_RANGE_END, "7FF");
  controls.dialog.Notify(IDC_CLEAR_RANGE, Notification::Clicked);
  EXPECT_EQ(opened.window.messages, std::vector<std::string>{std::string(kAddressLengthMessage)});
  EXPECT_EQ(field(IDC_RANGE_END), "7FF");
  EXPECT_EQ(ErasedBytes(0, kImageSize - 1), static_cast<long>(kImageSize));
}

TEST_F(RangeCommandsTest, EmptiedFieldShowsZerosWhenLeft) {
  controls.Type(IDC_RANGE_START, "");
  controls.MoveFocus(IDC_RANGE_END);
  EXPECT_EQ(field(IDC_RANGE_START), "0000");
  EXPECT_TRUE(opened.window.calls.empty());
}

TEST_F(RangeCommandsTest, ClearBuffer) {
  for (const bool yes : {false, true}) {
    SCOPED_TRACE(yes ? "Yes" : "No");
    OpenedDialog fresh;
    Buffer().workImage[0x10] = 0x00;
    Buffer().workImage[0x900] = 0x00;  // beyond the chip
    Buffer().referenceImage[0x20] = 0x00;
    Buffer().changeMap[3] = 1;
    fresh.dialog.RenderHexView();
    fresh.controls.Type(IDC_RANGE_START, "0123");
    fresh.window.answers = {yes};

    fresh.controls.Click(IDC_CLEAR_BUFFER);

    EXPECT_EQ(fresh.window.messages, std::vector<std::string>{std::string(kClearBufferQuestion)});
    const std::uint8_t expected = yes ? 0xFF : 0x00;
    EXPECT_EQ(Buffer().workImage[0x10], expected);
    EXPECT_EQ(Buffer().workImage[0x900], expected);
    EXPECT_EQ(Buffer().referenceImage[0x20], expected);
    EXPECT_EQ(Buffer().changeMap[3], yes ? 0 : 1);
    EXPECT_EQ(fresh.controls.Entry(1).substr(6, 2), yes ? "FF" : "00");
    EXPECT_EQ(fresh.controls.Text(IDC_RANGE_START), yes ? "0000" : "0123");
  }
}

// The bytes survive a switch to a smaller type and back.
TEST_F(RangeCommandsTest, ChipTypeSwitchKeepsTheBytes) {
  Buffer().workImage[0x7FF] = 0x12;
  opened.dialog.RenderHexView();
  controls.DoubleClickEntry(100);
  controls.Type(IDC_RANGE_START, "0123");

  ChooseChipType(0);
  EXPECT_EQ(Buffer().chipSize, 256);
  EXPECT_EQ(lineCount(), 16u);
  EXPECT_EQ(controls.Text(IDC_CHECKSUM), "КС: ff00");
  EXPECT_EQ(field(IDC_RANGE_START), "0000");
  EXPECT_EQ(field(IDC_RANGE_END), "00FF");
  EXPECT_EQ(Buffer().editLineIndex, 100);

  ChooseChipType(3);
  EXPECT_EQ(Buffer().chipSize, 2048);
  EXPECT_EQ(lineCount(), 128u);
  EXPECT_EQ(controls.Entry(127).substr(controls.Entry(127).size() - 2), "12");
  EXPECT_EQ(field(IDC_RANGE_END), "07FF");
  EXPECT_EQ(controls.GetListSelection(IDC_HEX_LIST), -1);
  EXPECT_TRUE(opened.window.messages.empty());
}

// The list reports no selection: the size stays, the view and the fields
// are redone all the same.
TEST_F(RangeCommandsTest, ChipTypeListWithoutSelection) {
  controls.Type(IDC_RANGE_START, "0123");
  ChooseChipType(-1);
  EXPECT_EQ(opened.window.messages, std::vector<std::string>{std::string(kChipTypeErrorMessage)});
  EXPECT_EQ(Buffer().chipSize, 2048);
  EXPECT_EQ(lineCount(), 128u);
  EXPECT_EQ(field(IDC_RANGE_START), "0000");
}

}  // namespace

}  // namespace pavok::test
