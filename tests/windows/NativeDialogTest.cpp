// The native dialog as a person meets it, under Wine: what it shows after
// start-up, every control reaching its handler through the messages the
// system sends, chip transfers and image files through its message boxes
// and file dialogs, input dropped during a transfer, and bad input. The
// dialog's logic is tested on its own; these tests check the Win32 mapping.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "BufferEdits.h"
#include "ChipWrite.h"
#include "DeviceChannel.h"
#include "DialogDriver.h"
#include "DialogTemplate.h"
#include "HexCodec.h"
#include "ImageFiles.h"
#include "RangeEdits.h"
#include "SystemTexts.h"
#include "TestEnvironment.h"
#include "Utf8Path.h"
#include "WideText.h"
#include "WinDriverTransport.h"

#include <windows.h>
#include <commctrl.h>

namespace pavok::test {
namespace {

std::vector<std::uint8_t> Pattern(std::size_t size) {
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + 1);
  return bytes;
}

bool ChipHolds(const EmulatedAdapter& adapter, const std::vector<std::uint8_t>& bytes) {
  return std::ranges::equal(adapter.chip().contents(), bytes);
}

TEST(NativeDialog, OpensShowingWhatThePersonExpects) {
  TestEnvironment env;
  RunDialog([](DialogDriver& dialog) {
    EXPECT_EQ(dialog.Text(IDC_STATUS), "Порт закрыт");
    EXPECT_EQ(dialog.Text(IDC_CHIP_TO_BUFFER), "м.сх -> буфер");
    EXPECT_EQ(dialog.Text(IDC_FAST_WRITE), "Быстрая запись");
    EXPECT_EQ(dialog.ComboText(), "C16");
    EXPECT_EQ(dialog.ListCount(), 128);
    EXPECT_EQ(dialog.ListLine(0).substr(0, 8), "0000: FF");
    EXPECT_EQ(dialog.ListLine(127).substr(0, 5), "07F0:");
    // Kept out of the upper-case style: not "КС: 7F800".
    EXPECT_EQ(dialog.Text(IDC_CHECKSUM), "КС: 7f800");
    EXPECT_EQ(dialog.Text(IDC_RANGE_START), "0000");
    EXPECT_EQ(dialog.Text(IDC_RANGE_END), "07FF");
    EXPECT_EQ(SendMessageW(dialog.item(IDC_LINE_EDIT), EM_GETLIMITTEXT, 0, 0), static_cast<LRESULT>(kEditLineLength));
    EXPECT_EQ(SendMessageW(dialog.item(IDC_RANGE_END), EM_GETLIMITTEXT, 0, 0), 4);
    // A screen reader names a field by the label just before it.
    for (const auto& [field, label] : {std::pair{IDC_RANGE_START, "от"}, std::pair{IDC_RANGE_END, "до"}}) {
      HWND before = GetWindow(dialog.item(field), GW_HWNDPREV);
      wchar_t text[8] = {};
      GetWindowTextW(before, text, 8);
      EXPECT_EQ(Narrow(text), label);
    }
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(dialog.item(IDC_HEX_LIST), WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_STREQ(font.lfFaceName, L"Courier New");
  });
}

// Each handler of the message map, reached by the notification its control
// sends; the dialog ends by Esc.
TEST(NativeDialog, EveryControlReachesItsHandler) {
  TestEnvironment env;
  const int ended = RunDialog([](DialogDriver& dialog) {
    SendMessageW(dialog.item(IDC_HEX_LIST), LB_SETCURSEL, 2, 0);
    dialog.Notify(IDC_HEX_LIST, LBN_SELCHANGE);
    dialog.Notify(IDC_HEX_LIST, LBN_DBLCLK);
    EXPECT_EQ(dialog.Text(IDC_RANGE_START), "0020");
    EXPECT_EQ(dialog.Text(IDC_LINE_EDIT).substr(0, 5), "FF FF");

    dialog.Type(IDC_LINE_EDIT, "00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F");
    dialog.Press(IDC_SAVE_LINE);
    EXPECT_NE(dialog.ListLine(2).find("00 01 02 03"), std::string::npos);
    EXPECT_NE(dialog.Text(IDC_CHECKSUM), "КС: 7f800");
    dialog.Press(IDC_CLEAR_LINE);
    EXPECT_EQ(dialog.ListLine(2).find("00 01"), std::string::npos);
    // Enter in the line editor: the dialog manager's default button, which
    // saves the line there.
    dialog.Notify(IDC_HEX_LIST, LBN_DBLCLK);
    dialog.Type(IDC_LINE_EDIT, "AA AA AA AA AA AA AA AA AA AA AA AA AA AA AA AA");
    SendMessageW(dialog.dialog(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(dialog.item(IDC_LINE_EDIT)), TRUE);
    dialog.Key(IDC_LINE_EDIT, VK_RETURN);
    EXPECT_TRUE(dialog.WaitForText(IDC_LINE_EDIT, ""));
    EXPECT_EQ(dialog.ListLine(2).substr(0, 11), "0020: AA AA");

    dialog.Type(IDC_RANGE_START, "21");
    dialog.Notify(IDC_RANGE_START, EN_KILLFOCUS);
    dialog.Type(IDC_RANGE_END, "22");
    dialog.Notify(IDC_RANGE_END, EN_KILLFOCUS);
    EXPECT_EQ(dialog.Text(IDC_RANGE_START), "0021");
    EXPECT_EQ(dialog.Text(IDC_RANGE_END), "0022");
    dialog.Press(IDC_CLEAR_RANGE);
    EXPECT_EQ(dialog.ListLine(2).substr(0, 17), "0020: AA FF FF AA");

    SendMessageW(dialog.item(IDC_CHIP_TYPE), CB_SETCURSEL, 0, 0);
    dialog.Notify(IDC_CHIP_TYPE, CBN_SELCHANGE);
    // The wheel over the closed list, while the line editor has the focus.
    SendMessageW(dialog.item(IDC_CHIP_TYPE), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    EXPECT_EQ(dialog.ComboText(), "C02");
    dialog.Click(IDC_CLEAR_BUFFER);
    EXPECT_EQ(dialog.AnswerMessageBox(IDYES), kClearBufferQuestion);
    EXPECT_EQ(dialog.ListCount(), 16);
    EXPECT_EQ(dialog.Text(IDC_RANGE_END), "00FF");

    dialog.Click(IDC_ERASE_CHIP);
    EXPECT_EQ(dialog.AnswerMessageBox(IDNO), kEraseQuestion);
    dialog.Click(IDC_BUFFER_TO_CHIP);
    EXPECT_EQ(dialog.AnswerMessageBox(IDNO), kWriteQuestion);
    dialog.Click(IDC_COMPARE);
    EXPECT_FALSE(dialog.AnswerMessageBox(IDOK).empty());
    dialog.Click(IDC_FILE_TO_BUFFER);
    EXPECT_EQ(dialog.AnswerMessageBox(IDYES), kUnsavedQuestion);  // the line saved earlier
    EXPECT_TRUE(dialog.AnswerFileDialog(kOpenDialogTitle, ""));
    dialog.Click(IDC_BUFFER_TO_FILE);
    EXPECT_TRUE(dialog.AnswerFileDialog(kSaveDialogTitle, ""));
    dialog.Click(IDC_CHIP_TO_BUFFER);
    EXPECT_EQ(dialog.AnswerMessageBox(IDYES), kUnsavedQuestion);
    EXPECT_TRUE(dialog.AnswerFileDialog(kSaveDialogTitle, ""));
    dialog.Key(IDC_HEX_LIST, VK_ESCAPE);
  });
  EXPECT_EQ(ended, IDCANCEL);
}

// Read, save under a Cyrillic name in a folder with a space, erase, load the
// file back and write it: each through the dialog's own boxes.
TEST(NativeDialog, ReadsAndWritesTheChipThroughCyrillicFileNames) {
  TestEnvironment env;
  const std::vector<std::uint8_t> contents = Pattern(2048);
  env.adapter.chip().Load(contents);
  const std::filesystem::path folder = env.directory.path() / Utf8Path("Мои прошивки");
  std::filesystem::create_directory(folder);
  const std::string file = Utf8Text(folder / Utf8Path("Прошивка 1.bin"));

  RunDialog([&](DialogDriver& dialog) {
    // The button fills the buffer with the pattern through `file`.
    const auto fillThroughFile = [&](ControlId button, std::string_view title) {
      dialog.Click(button);
      ASSERT_TRUE(dialog.AnswerFileDialog(title, file));
      ASSERT_TRUE(dialog.WaitForStatus(file));
      EXPECT_EQ(dialog.ListLine(0).substr(0, 11), "0000: 01 08");
    };
    ASSERT_NO_FATAL_FAILURE(fillThroughFile(IDC_CHIP_TO_BUFFER, kSaveDialogTitle));

    dialog.Click(IDC_ERASE_CHIP);
    EXPECT_EQ(dialog.AnswerMessageBox(IDYES), kEraseQuestion);
    ASSERT_TRUE(dialog.WaitForStatus(kPortClosedText));
    EXPECT_TRUE(ChipHolds(env.adapter, std::vector<std::uint8_t>(2048, 0xFF)));

    dialog.Click(IDC_CLEAR_BUFFER);
    dialog.AnswerMessageBox(IDYES);
    ASSERT_NO_FATAL_FAILURE(fillThroughFile(IDC_FILE_TO_BUFFER, kOpenDialogTitle));

    dialog.Click(IDC_BUFFER_TO_CHIP);
    EXPECT_EQ(dialog.AnswerMessageBox(IDYES), kWriteQuestion);
    ASSERT_TRUE(dialog.WaitForStatus(kPortClosedText));
  });
  EXPECT_EQ(ReadFileBytes(Utf8Path(file)), std::string(contents.begin(), contents.end()));
  EXPECT_TRUE(ChipHolds(env.adapter, contents));
}

// A click on "весь буфер" would ask a question, Esc and the close request
// would end the dialog: during a slow comparison all of them are dropped,
// while the bar keeps moving.
TEST(NativeDialog, DropsInputDuringASlowTransfer) {
  TestEnvironment env;
  env.adapter.SetRequestDelay(std::chrono::milliseconds(15));
  const int ended = RunDialog([](DialogDriver& dialog) {
    dialog.Click(IDC_COMPARE);
    ASSERT_TRUE(dialog.WaitForText(IDC_STATUS, kPortOpenText));
    // Sent as the controls would, without waiting for the comparison to end.
    const auto clicked = [&](ControlId id) {
      PostMessageW(dialog.dialog(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(dialog.item(id)));
    };
    clicked(IDC_CLEAR_BUFFER);
    clicked(IDOK);
    dialog.Key(IDC_HEX_LIST, VK_ESCAPE);
    PostMessageW(dialog.dialog(), WM_CLOSE, 0, 0);
    const RECT exit = [&] { RECT r{}; GetClientRect(dialog.item(IDOK), &r); return r; }();
    PostMessageW(dialog.item(IDOK), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(exit.right / 2, exit.bottom / 2));
    PostMessageW(dialog.item(IDOK), WM_LBUTTONUP, 0, MAKELPARAM(exit.right / 2, exit.bottom / 2));
    const LRESULT early = SendMessageW(dialog.item(IDC_PROGRESS), PBM_GETPOS, 0, 0);
    Sleep(200);
    EXPECT_GT(SendMessageW(dialog.item(IDC_PROGRESS), PBM_GETPOS, 0, 0), early);
    // The comparison's own message, and no question before it.
    EXPECT_NE(dialog.AnswerMessageBox(IDOK).find("OK !"), std::string::npos);
    EXPECT_TRUE(IsWindow(dialog.dialog()));
    dialog.Click(IDOK);
  });
  EXPECT_EQ(ended, IDOK);
}

// Bad input gives the dialog's message and leaves the buffer as it was.
TEST(NativeDialog, BadInputChangesNothing) {
  TestEnvironment env;
  RunDialog([&](DialogDriver& dialog) {
    const std::string before = dialog.ListLine(0);
    dialog.Click(IDC_FILE_TO_BUFFER);
    ASSERT_TRUE(dialog.AnswerFileDialog(kOpenDialogTitle, Utf8Text(env.directory.path() / Utf8Path("нет такого.bin"))));
    EXPECT_EQ(dialog.AnswerMessageBox(IDOK), kCannotOpenFileMessage);

    EXPECT_EQ(dialog.ListLine(0), before);
  });
}

// Without the adapter's driver the read fails with the dialog's message,
// and no save is offered: the buffer holds nothing read from a chip.
TEST(NativeDialog, MissingDriverGivesTheOpenFailure) {
  TestEnvironment env;
  WinDriverTransport driver;
  const TransportScope noDriver(driver);
  RunDialog([](DialogDriver& dialog) {
    dialog.Click(IDC_CHIP_TO_BUFFER);
    EXPECT_EQ(dialog.AnswerMessageBox(IDOK), kOpenFailedMessage);
    EXPECT_EQ(dialog.ListLine(0).substr(0, 8), "0000: FF");
  });
}

}  // namespace
}  // namespace pavok::test
