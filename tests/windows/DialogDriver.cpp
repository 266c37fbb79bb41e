#include "DialogDriver.h"

#include <chrono>
#include <thread>

#include "NativeDialog.h"
#include "WideText.h"
#include "WindowOperations.h"

namespace pavok::test {

namespace {

constexpr auto kPatience = std::chrono::seconds(10);
constexpr auto kPoll = std::chrono::milliseconds(5);

template <class Condition>
bool WaitUntil(Condition condition) {
  const auto end = std::chrono::steady_clock::now() + kPatience;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(kPoll);
  }
  return true;
}

std::string WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return Narrow(text);
}

// The file-name field of the common file dialogs, in either layout.
constexpr int kFileNameCombo = 0x47C;
constexpr int kFileNameEdit = 0x480;
// The text of a message box.
constexpr int kMessageBoxText = 0xFFFF;

}  // namespace

// A closed dialog may linger hidden for a moment: only a visible one counts.
HWND WaitForDialogWindow(std::string_view title) {
  HWND found = nullptr;
  const std::wstring wide = Widen(title);
  WaitUntil([&] {
    found = nullptr;
    while ((found = FindWindowExW(nullptr, found, L"#32770", wide.c_str())) != nullptr) {
      if (IsWindowVisible(found)) return true;
    }
    return false;
  });
  return found;
}

std::string DialogDriver::Text(ControlId id) const { return WindowText(item(id)); }

std::string DialogDriver::ListLine(int index) const {
  HWND list = item(IDC_HEX_LIST);
  std::wstring line(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXTLEN, index, 0)) + 1, L'\0');
  line.resize(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(line.data()))));
  return Narrow(line);
}

int DialogDriver::ListCount() const { return static_cast<int>(SendMessageW(item(IDC_HEX_LIST), LB_GETCOUNT, 0, 0)); }

std::string DialogDriver::ComboText() const {
  HWND combo = item(IDC_CHIP_TYPE);
  const LRESULT selected = SendMessageW(combo, CB_GETCURSEL, 0, 0);
  std::wstring text(static_cast<std::size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, selected, 0)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(SendMessageW(combo, CB_GETLBTEXT, selected, reinterpret_cast<LPARAM>(text.data()))));
  return Narrow(text);
}

// BM_CLICK may fail while the dialog is not the active window, as after a
// box closes without a window manager; the button's own notification does not.
void DialogDriver::Click(ControlId button) const {
  WaitUntilIdle();
  PostMessageW(dialog_, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(item(button)));
}

void DialogDriver::WaitUntilIdle() const {
  WaitUntil([&] { return !native_.handling(); });
}

void DialogDriver::Press(ControlId button) const {
  WaitUntilIdle();
  SendMessageW(item(button), BM_CLICK, 0, 0); }

void DialogDriver::Notify(ControlId id, WORD code) const {
  WaitUntilIdle();
  SendMessageW(dialog_, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(item(id)));
}

void DialogDriver::Type(ControlId field, std::string_view utf8) const {
  SendMessageW(item(field), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Widen(utf8).c_str()));
}

void DialogDriver::Key(ControlId control, WPARAM key) const {
  PostMessageW(item(control), WM_KEYDOWN, key, 1);
  PostMessageW(item(control), WM_KEYUP, key, 1 | (3u << 30));
}

std::string DialogDriver::AnswerMessageBox(int button) const {
  const HWND box = WaitForDialogWindow(kMessageTitle);
  if (box == nullptr) return {};
  const std::string text = WindowText(GetDlgItem(box, kMessageBoxText));
  PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(button), 0);
  WaitUntil([&] { return !IsWindow(box); });
  return text;
}

bool DialogDriver::AnswerFileDialog(std::string_view title, std::string_view path) const {
  const HWND dialog = WaitForDialogWindow(title);
  if (dialog == nullptr) return false;
  if (!path.empty()) {
    for (const int field : {kFileNameCombo, kFileNameEdit}) {
      if (HWND name = GetDlgItem(dialog, field)) SetWindowTextW(name, Widen(path).c_str());
    }
  }
  PostMessageW(dialog, WM_COMMAND, path.empty() ? IDCANCEL : IDOK, 0);
  WaitUntil([&] { return !IsWindow(dialog); });
  return true;
}

bool DialogDriver::WaitForText(ControlId id, std::string_view text) const {
  return WaitUntil([&] { return Text(id) == text; });
}

bool DialogDriver::WaitForStatus(std::string_view text) const {
  if (!WaitForText(IDC_STATUS, text)) return false;
  WaitUntilIdle();
  return true;
}

int RunDialog(const std::function<void(DialogDriver&)>& script) {
  NativeDialog dialog(GetModuleHandleW(nullptr));
  std::thread driver([&script, &dialog] {
    const HWND window = WaitForDialogWindow("Pavok");
    if (window == nullptr) return;
    DialogDriver driven(window, dialog);
    script(driven);
    // Whatever is still open, so the test ends: boxes first, then the dialog.
    while (IsWindow(window)) {
      if (HWND box = GetLastActivePopup(window); box != window) PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
      PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  });
  const int result = dialog.Run();
  driver.join();
  return result;
}

}  // namespace pavok::test
