// Every transfer and file button clicked against the emulated adapter, the
// way a person works: the steps each handler chains, what reaches the chip
// and the files, and what the dialog shows afterwards. The commands' own
// rules are tested in tests/chip and tests/files.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "ChipWrite.h"
#include "DeviceChannel.h"
#include "ImageFiles.h"
#include "ScriptedControls.h"
#include "SystemTexts.h"
#include "TestEnvironment.h"

namespace pavok::test {

namespace {

// A chip whose every byte differs from its neighbours.
std::vector<std::uint8_t> PatternedChip() {
  std::vector<std::uint8_t> bytes(2048);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
  return bytes;
}

std::string AsString(std::span<const std::uint8_t> bytes) { return {bytes.begin(), bytes.end()}; }

// The hex view's entry for line `line` of `bytes`, written out independently.
std::string EntryOf(std::span<const std::uint8_t> bytes, int line) {
  char entry[8];
  std::snprintf(entry, sizeof entry, "%04X:", line * 16);
  std::string text = entry;
  for (int i = 0; i < 16; ++i) {
    std::snprintf(entry, sizeof entry, " %02X", bytes[static_cast<std::size_t>(line * 16 + i)]);
    text += entry;
  }
  return text;
}

const std::string kAscending = "00 11 22 33 44 55 66 77 88 99 AA BB CC DD EE FF";

// The dialog open over the emulated adapter and a temporary working
// directory; questions, messages and file dialogs answered by the script.
class TransferCommandsTest : public ::testing::Test {
 protected:
  TestEnvironment environment;
  OpenedDialog opened;
  ScriptedControls& controls = opened.controls;
  ScriptedWindow& script = opened.window;
  EmulatedAdapter& adapter = environment.adapter;

  std::string PathOf(const std::string& name) const { return (environment.directory / name).string(); }
  const std::string& status() { return controls.Text(IDC_STATUS); }
};

TEST_F(TransferCommandsTest, ReadThenSave) {
  const std::vector<std::uint8_t> chip = PatternedChip();
  adapter.chip().Load(chip);
  controls.SetText(IDC_RANGE_START, "0123");
  const std::string path = PathOf("chip.bin");
  script.fileAnswers = {{path, 0}};

  controls.Click(IDC_CHIP_TO_BUFFER);

  EXPECT_EQ(script.calls, std::vector<std::string>{"file: " + std::string(kSaveDialogTitle)});
  EXPECT_EQ(ReadFileBytes(path), AsString(chip));
  EXPECT_EQ(status(), path);
  EXPECT_EQ(controls.Entry(1), EntryOf(chip, 1));
  EXPECT_EQ(controls.Entry(127), EntryOf(chip, 127));
  EXPECT_EQ(controls.Text(IDC_RANGE_START), "0123");
}

// The read stopped at its question or at the adapter: the save dialog
// comes all the same, and the view shows the buffer as it now is.
TEST_F(TransferCommandsTest, SaveDialogFollowsEveryRead) {
  const struct {
    const char* name;
    bool unsaved, adapterAbsent;
    std::string_view message;
  } cases[] = {
      {"read declined", true, false, kUnsavedQuestion},
      {"no adapter", false, true, kOpenFailedMessage},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.name);
    TestEnvironment fresh;
    OpenedDialog dialog;
    Buffer().unsavedFlag = row.unsaved ? 1 : 0;
    if (row.adapterAbsent) fresh.adapter.SetFaultPlan(FaultPlan::Absent());
    Buffer().workImage[0] = 0x00;  // not shown yet

    dialog.controls.Click(IDC_CHIP_TO_BUFFER);

    EXPECT_EQ(dialog.window.messages, std::vector<std::string>{std::string(row.message)});
    EXPECT_EQ(dialog.window.CallsStartingWith("file: "),
              std::vector<std::string>{"file: " + std::string(kSaveDialogTitle)});
    EXPECT_EQ(dialog.controls.Text(IDC_STATUS), "");  // the save dialog was cancelled
    EXPECT_TRUE(dialog.controls.Entry(0).starts_with("0000: 00 FF"));
  }
}

TEST_F(TransferCommandsTest, FastWriteSendsTheSavedLineOnly) {
  controls.DoubleClickEntry(5);
  controls.Type(IDC_LINE_EDIT, kAscending);
  controls.Click(IDC_SAVE_LINE);
  controls.Click(IDC_FAST_WRITE);
  script.answers = {true};

  controls.Click(IDC_BUFFER_TO_CHIP);

  EXPECT_EQ(script.messages, std::vector<std::string>{std::string(kWriteQuestion)});
  std::vector<std::uint16_t> written;
  for (const RecordedRequest& sent : adapter.requests()) {
    if (sent.request.code() == REQ_WRITE_DATA) written.push_back(sent.request.param1());
  }
  EXPECT_EQ(written, (std::vector<std::uint16_t>{0x50, 0x54, 0x58, 0x5C}));
  EXPECT_EQ(adapter.chip().contents()[0x5A], 0xAA);
  EXPECT_EQ(adapter.chip().contents()[0x60], 0xFF);
  EXPECT_EQ(Buffer().unsavedFlag, 0);
  EXPECT_EQ(status(), kPortClosedText);
  EXPECT_EQ(controls.controls[IDC_PROGRESS].progressPos, 0);
}

TEST_F(TransferCommandsTest, EraseLeavesTheBufferAlone) {
  adapter.chip().Load(PatternedChip());
  Buffer().workImage[0x10] = 0x00;
  script.answers = {true};

  controls.Click(IDC_ERASE_CHIP);

  EXPECT_EQ(script.messages, std::vector<std::string>{std::string(kEraseQuestion)});
  EXPECT_EQ(AsString(adapter.chip().contents()), std::string(2048, '\xFF'));
  EXPECT_EQ(Buffer().workImage[0x10], 0x00);
}

TEST_F(TransferCommandsTest, Compare) {
  for (const bool chipDiffers : {false, true}) {
    SCOPED_TRACE(chipDiffers ? "different" : "equal");
    TestEnvironment fresh;
    OpenedDialog dialog;
    if (chipDiffers) fresh.adapter.chip().Load(std::vector<std::uint8_t>{0x00});

    dialog.controls.Click(IDC_COMPARE);

    ASSERT_EQ(dialog.window.messages.size(), 1u);
    EXPECT_TRUE(dialog.window.messages[0].ends_with(chipDiffers ? "Прошивки не одинаковые !" : "OK !"));
    EXPECT_EQ(dialog.controls.Text(IDC_STATUS), kPortClosedText);
  }
}

TEST_F(TransferCommandsTest, LoadAShortFile) {
  const std::string path = PathOf("short.bin");
  WriteFileBytes(path, "\x01\x02\x03");
  controls.SetText(IDC_RANGE_END, "0456");
  script.fileAnswers = {{path, 0}};

  controls.Click(IDC_FILE_TO_BUFFER);

  std::string erased;
  for (int i = 0; i < 13; ++i) erased += " FF";
  EXPECT_EQ(controls.Entry(0), "0000: 01 02 03" + erased);
  EXPECT_EQ(status(), path);
  EXPECT_EQ(controls.Text(IDC_RANGE_END), "0456");
  EXPECT_TRUE(script.messages.empty());
}

// A cancelled load changes nothing, yet the view is redrawn and shows the
// buffer as it is, with what changed behind it.
TEST_F(TransferCommandsTest, CancelledLoadShowsTheBufferAsItIs) {
  Buffer().workImage[0x7F0] = 0x00;  // not shown yet

  controls.Click(IDC_FILE_TO_BUFFER);

  EXPECT_EQ(script.calls, std::vector<std::string>{"file: " + std::string(kOpenDialogTitle)});
  EXPECT_TRUE(controls.Entry(127).starts_with("07F0: 00 FF"));
  EXPECT_EQ(controls.Text(IDC_CHECKSUM), "КС: 7f701");
  EXPECT_EQ(status(), "");
}

// Saving changes no control but the status: the view is not redrawn.
TEST_F(TransferCommandsTest, SaveWritesTheBufferAndLeavesTheView) {
  Buffer().workImage[0] = 0x00;
  const std::string path = PathOf("saved.bin");
  script.fileAnswers = {{path, 0}};

  controls.Click(IDC_BUFFER_TO_FILE);

  EXPECT_EQ(ReadFileBytes(path), '\0' + std::string(2047, '\xFF'));
  EXPECT_EQ(status(), path);
  EXPECT_TRUE(controls.Entry(0).starts_with("0000: FF"));
}

TEST_F(TransferCommandsTest, CheckBoxesRunNothing) {
  for (const ControlId box : {IDC_A0, IDC_A1, IDC_FAST_WRITE}) controls.Click(box);
  EXPECT_TRUE(script.calls.empty());
  EXPECT_EQ(adapter.exchanges(), 0);
  EXPECT_TRUE(opened.dialog.windowOperations().IsChecked(IDC_A1));
}

// A transfer paints the status and the bar at every step and lets the front
// end handle what is pending, dropping input; a notification meanwhile (a
// second command, Enter, Esc) runs nothing, then or later.
TEST_F(TransferCommandsTest, NotificationsDuringATransferRunNothing) {
  Buffer().chipSize = 256;
  adapter.SetRequestDelay(std::chrono::microseconds(50));
  script.answers = {true};
  controls.duringPump = [this] {
    controls.Click(IDC_COMPARE);
    controls.PressEnter();
    controls.dialog.Notify(IDCANCEL, Notification::Clicked);
  };

  controls.Click(IDC_BUFFER_TO_CHIP);
  controls.duringPump = nullptr;

  EXPECT_EQ(script.messages, std::vector<std::string>{std::string(kWriteQuestion)});
  EXPECT_EQ(adapter.exchanges(), 128);
  EXPECT_EQ(controls.endedWith, 0);
  EXPECT_EQ(std::ranges::count(controls.events, std::string("busy")), 1);
  EXPECT_EQ(controls.events.back(), "idle");
  EXPECT_GE(std::ranges::count(controls.events, std::string("repaint: ") + std::to_string(IDC_PROGRESS)), 64);
  EXPECT_EQ(status(), kPortClosedText);
  controls.Click(IDC_COMPARE);  // and afterwards the dialog takes notifications again
  EXPECT_EQ(script.messages.size(), 2u);
}

}  // namespace

}  // namespace pavok::test
