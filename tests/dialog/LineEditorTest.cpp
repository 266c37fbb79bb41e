// The hex list and the line editor as a user drives them: selection,
// double-click, "Сохр." and "строку".

#include <gtest/gtest.h>

#include "HexCodec.h"
#include "ScriptedControls.h"

namespace pavok::test {

namespace {

const std::string kErased = "FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF";
const std::string kAscending = "00 11 22 33 44 55 66 77 88 99 AA BB CC DD EE FF";

class LineEditorTest : public ::testing::Test {
 protected:
  OpenedDialog opened;
  ScriptedControls& controls = opened.controls;

  const std::string& editorText() { return controls.Text(IDC_LINE_EDIT); }
  const std::string& checksumText() { return controls.Text(IDC_CHECKSUM); }
  int selectedEntry() { return controls.GetListSelection(IDC_HEX_LIST); }
};

TEST_F(LineEditorTest, SelectingALinePutsItsAddressIntoTheRangeStart) {
  controls.SelectEntry(IDC_HEX_LIST, 0x1A);
  EXPECT_EQ(controls.Text(IDC_RANGE_START), "01A0");
  EXPECT_EQ(controls.Text(IDC_RANGE_END), "07FF");
}

TEST_F(LineEditorTest, DoubleClickThenSaveWithCommasAndLowerCaseDigits) {
  Buffer().workImage[0x50] = 0x12;
  opened.dialog.RenderHexView();
  controls.DoubleClickEntry(5);
  EXPECT_EQ(editorText(), "12 FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF");
  EXPECT_EQ(Buffer().editLineIndex, 5);

  controls.Type(IDC_LINE_EDIT, "00,11,22,33,44,55,66,77,88,99,aa,bb,cc,dd,ee,ff");
  controls.Click(IDC_SAVE_LINE);

  EXPECT_EQ(controls.Entry(5), "0050: " + kAscending);
  EXPECT_EQ(controls.Entry(4), "0040: " + kErased);
  EXPECT_EQ(controls.Entry(6), "0060: " + kErased);
  EXPECT_EQ(controls.controls[IDC_HEX_LIST].entries.size(), 128u);
  EXPECT_EQ(selectedEntry(), 5);
  EXPECT_EQ(editorText(), "");
  EXPECT_EQ(checksumText(), "КС: 7f008");
  EXPECT_EQ(Buffer().unsavedFlag, 1);
  EXPECT_TRUE(opened.window.messages.empty());
}

TEST_F(LineEditorTest, CyrillicLetterInASeparatorIsAccepted) {
  controls.DoubleClickEntry(2);
  std::string text = kAscending;
  text.replace(2, 1, "Ж");  // one byte in Windows-1251, and no hex digit
  controls.Type(IDC_LINE_EDIT, text);
  controls.Click(IDC_SAVE_LINE);
  EXPECT_TRUE(opened.window.messages.empty());
  EXPECT_EQ(controls.Entry(2), "0020: " + kAscending);
}

TEST_F(LineEditorTest, RefusedTextsLeaveEverythingAsItWas) {
  std::string badLast = kAscending;
  badLast[46] = 'X';
  std::string cyrillicDigit = kAscending;
  cyrillicDigit.replace(0, 1, "Б");
  const struct {
    const char* name;
    std::string text;
    std::string message;
  } cases[] = {
      {"empty", "", std::string(kEditLineLengthMessage)},
      {"bad last character", badLast, "Неверная строка. Символ 46 ошибочный !"},
      {"Cyrillic digit", cyrillicDigit, "Неверная строка. Символ 0 ошибочный !"},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.name);
    OpenedDialog fresh;
    fresh.controls.DoubleClickEntry(1);
    fresh.controls.Type(IDC_LINE_EDIT, row.text);
    fresh.controls.Click(IDC_SAVE_LINE);

    EXPECT_EQ(fresh.window.messages, std::vector<std::string>{row.message});
    EXPECT_EQ(fresh.controls.Text(IDC_LINE_EDIT), row.text);
    EXPECT_EQ(fresh.controls.Entry(1), "0010: " + kErased);
    EXPECT_EQ(fresh.controls.Text(IDC_CHECKSUM), "КС: 7f800");
    EXPECT_EQ(Buffer().unsavedFlag, 0);
  }
}

TEST_F(LineEditorTest, SaveBeforeAnyDoubleClickGoesToLineZero) {
  controls.Type(IDC_LINE_EDIT, kAscending);
  controls.Click(IDC_SAVE_LINE);
  EXPECT_EQ(controls.Entry(0), "0000: " + kAscending);
}

TEST_F(LineEditorTest, ClearLineErasesTheSelectedLineOnly) {
  for (std::size_t i = 0x20; i < 0x50; ++i) Buffer().workImage[i] = 0x00;
  opened.dialog.RenderHexView();
  controls.DoubleClickEntry(2);
  controls.SelectEntry(IDC_HEX_LIST, 3);
  controls.Click(IDC_CLEAR_LINE);

  EXPECT_EQ(controls.Entry(3), "0030: " + kErased);
  EXPECT_EQ(controls.Entry(2).substr(6, 2), "00");
  EXPECT_EQ(controls.Entry(4).substr(6, 2), "00");
  EXPECT_EQ(selectedEntry(), 3);
  EXPECT_EQ(editorText(), "");
  EXPECT_EQ(Buffer().unsavedFlag, 1);
  EXPECT_EQ(Buffer().editLineIndex, 2);
  EXPECT_EQ(checksumText(), "КС: 7d820");  // 32 bytes still 00
}

// After a rebuild no entry is selected.
TEST_F(LineEditorTest, WithoutASelectedEntryTheLineCommandsDoNothing) {
  controls.DoubleClickEntry(7);
  controls.Type(IDC_LINE_EDIT, "kept");
  controls.Type(IDC_RANGE_START, "0123");
  opened.dialog.RenderHexView();
  Buffer().workImage[0x40] = 0x00;  // the view does not show it yet

  controls.Click(IDC_CLEAR_LINE);
  opened.dialog.OnHexListDblClk();
  opened.dialog.OnHexListSelChange();

  EXPECT_EQ(Buffer().workImage[0x40], 0x00);
  EXPECT_EQ(Buffer().unsavedFlag, 0);
  EXPECT_EQ(Buffer().editLineIndex, 7);
  EXPECT_EQ(editorText(), "KEPT");
  EXPECT_EQ(controls.Text(IDC_RANGE_START), "0123");
}

// The chip type made smaller after a double-click: the line still takes the
// bytes, the view keeps showing the chip's lines only.
TEST_F(LineEditorTest, SaveLineBeyondASmallerChip) {
  controls.DoubleClickEntry(100);
  Buffer().chipSize = 256;
  opened.dialog.RenderHexView();
  controls.Type(IDC_LINE_EDIT, kAscending);
  controls.Click(IDC_SAVE_LINE);

  EXPECT_EQ(Buffer().workImage[100 * 16 + 1], 0x11);
  EXPECT_EQ(Buffer().unsavedFlag, 1);
  EXPECT_EQ(controls.controls[IDC_HEX_LIST].entries.size(), 16u);
  EXPECT_EQ(checksumText(), "КС: ff00");
  EXPECT_EQ(editorText(), "");
}

}  // namespace

}  // namespace pavok::test
