// The dialog as it opens, and how it ends.

#include <gtest/gtest.h>

#include "HexCodec.h"
#include "ScriptedControls.h"
#include "SystemTexts.h"
#include "Translation.h"

namespace pavok::test {

namespace {

TEST(StartUpTest, FieldsShowTheEmptyBuffer) {
  OpenedDialog opened;
  ScriptedControls& controls = opened.controls;
  const auto& lines = controls.controls[IDC_HEX_LIST].entries;
  ASSERT_EQ(lines.size(), 128u);
  std::string erased;
  for (int i = 0; i < 16; ++i) erased += " FF";
  EXPECT_EQ(lines[0], "0000:" + erased);
  EXPECT_EQ(lines[127], "07F0:" + erased);
  EXPECT_EQ(controls.GetListSelection(IDC_HEX_LIST), -1);
  EXPECT_EQ(controls.Text(IDC_CHECKSUM), "КС: 7f800");
  EXPECT_EQ(controls.Text(IDC_STATUS), "Порт закрыт");
  EXPECT_EQ(controls.Text(IDC_RANGE_START), "0000");
  EXPECT_EQ(controls.Text(IDC_RANGE_END), "07FF");
  EXPECT_EQ(controls.Text(IDC_LINE_EDIT), "");
  EXPECT_EQ(controls.controls[IDC_LINE_EDIT].limit, 47);
  EXPECT_EQ(controls.controls[IDC_RANGE_START].limit, 4);
  EXPECT_EQ(controls.controls[IDC_RANGE_END].limit, 4);

  const auto& chipType = controls.controls[IDC_CHIP_TYPE];
  EXPECT_EQ(chipType.entries, (std::vector<std::string>{"C02", "C04", "C08", "C16"}));
  EXPECT_EQ(chipType.selection, 3);

  EXPECT_EQ(controls.controls[IDC_PROGRESS].progressMax, 128);
  EXPECT_EQ(controls.controls[IDC_PROGRESS].progressPos, 0);
  EXPECT_TRUE(opened.window.messages.empty());
}

// The texts the dialog shows itself and those of the commands, file
// dialogs included, in English.
TEST(StartUpTest, FieldsInEnglish) {
  ASSERT_TRUE(SelectLanguage("en"));
  OpenedDialog opened;
  EXPECT_EQ(opened.controls.Text(IDC_CHECKSUM), "Sum: 7f800");
  EXPECT_EQ(opened.controls.Text(IDC_STATUS), "Port closed");
  opened.controls.Click(IDC_CLEAR_BUFFER);
  opened.controls.Click(IDC_FILE_TO_BUFFER);
  SelectLanguage("ru");
  EXPECT_EQ(opened.window.messages, std::vector<std::string>{"Clear the whole buffer?"});
  ASSERT_EQ(opened.window.fileRequests.size(), 1u);
  EXPECT_EQ(opened.window.fileRequests[0].title, "Open file");
  EXPECT_EQ(opened.window.fileRequests[0].filters.front().displayText, "Raw images (*.bin)");
}

// Enter presses "Выход" unless a push button or the line editor has the
// focus; Esc and the close box come as IDCANCEL. Line edits not saved
// anywhere make each ask first, and No ends nothing.
TEST(StartUpTest, WaysToEndTheDialog) {
  enum class Way { Enter, Exit, Escape };
  const struct {
    const char* name;
    Way way;
    ControlId focus;
    bool unsaved, yes;
    int ended;  // 0: still running
  } cases[] = {
      {"Enter in the hex list", Way::Enter, IDC_HEX_LIST, false, false, IDOK},
      {"Enter in a range field", Way::Enter, IDC_RANGE_START, false, false, IDOK},
      {"Enter on Выход", Way::Enter, IDOK, false, false, IDOK},
      {"Esc", Way::Escape, IDC_HEX_LIST, false, false, IDCANCEL},
      {"Enter, unsaved, No", Way::Enter, IDC_HEX_LIST, true, false, 0},
      {"Enter, unsaved, Yes", Way::Enter, IDC_HEX_LIST, true, true, IDOK},
      {"Выход, unsaved, No", Way::Exit, IDC_LINE_EDIT, true, false, 0},
      {"Esc or the close box, unsaved, No", Way::Escape, IDC_LINE_EDIT, true, false, 0},
      {"Esc or the close box, unsaved, Yes", Way::Escape, IDC_HEX_LIST, true, true, IDCANCEL},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.name);
    OpenedDialog opened;
    Buffer().unsavedFlag = row.unsaved ? 1 : 0;
    opened.window.answers = {row.yes};
    opened.controls.MoveFocus(row.focus);
    if (row.way == Way::Enter) opened.controls.PressEnter();
    if (row.way == Way::Exit) opened.controls.Click(IDOK);
    if (row.way == Way::Escape) opened.dialog.Notify(IDCANCEL, Notification::Clicked);
    EXPECT_EQ(opened.controls.endedWith, row.ended);
    EXPECT_EQ(opened.window.messages,
              row.unsaved ? std::vector<std::string>{std::string(kUnsavedQuestion)} : std::vector<std::string>{});
  }
}

// Enter in the line editor saves the line as "Сохр." does, refusal
// included, and ends nothing.
TEST(StartUpTest, EnterInTheLineEditorSavesTheLine) {
  OpenedDialog opened;
  opened.controls.DoubleClickEntry(3);
  opened.controls.Type(IDC_LINE_EDIT, "00 11 22 33 44 55 66 77 88 99 aa bb cc dd ee ff");
  opened.controls.PressEnter();
  EXPECT_EQ(opened.controls.Entry(3), "0030: 00 11 22 33 44 55 66 77 88 99 AA BB CC DD EE FF");
  EXPECT_EQ(opened.controls.Text(IDC_LINE_EDIT), "");
  EXPECT_EQ(Buffer().unsavedFlag, 1);

  opened.controls.PressEnter();
  EXPECT_EQ(opened.window.messages, std::vector<std::string>{std::string(kEditLineLengthMessage)});
  EXPECT_EQ(opened.controls.endedWith, 0);
}

TEST(StartUpTest, EnterOnAFocusedPushButtonPressesIt) {
  OpenedDialog opened;
  opened.controls.MoveFocus(IDC_SAVE_LINE);
  opened.controls.PressEnter();
  EXPECT_EQ(opened.controls.endedWith, 0);
  EXPECT_EQ(opened.window.messages, std::vector<std::string>{std::string(kEditLineLengthMessage)});
}

}  // namespace

}  // namespace pavok::test
