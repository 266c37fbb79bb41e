// The dialog as it opens, and how it ends.

#include <gtest/gtest.h>

#include "HexCodec.h"
#include "ScriptedControls.h"

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

// Enter presses "Выход" unless a push button has the focus; Esc and the
// close box come as IDCANCEL. Either ends the dialog without a question.
TEST(StartUpTest, EnterAndEscEndTheDialog) {
  const struct {
    ControlId focus;
    bool escape;
    int ended;
  } cases[] = {
      {IDC_HEX_LIST, false, IDOK},     {IDC_RANGE_START, false, IDOK}, {IDOK, false, IDOK},
      {IDC_HEX_LIST, true, IDCANCEL},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.focus);
    OpenedDialog opened;
    opened.controls.MoveFocus(row.focus);
    if (row.escape) {
      opened.dialog.Notify(IDCANCEL, Notification::Clicked);
    } else {
      opened.controls.PressEnter();
    }
    EXPECT_EQ(opened.controls.endedWith, row.ended);
    EXPECT_TRUE(opened.window.messages.empty());
  }
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
