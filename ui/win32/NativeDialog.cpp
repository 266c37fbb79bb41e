#include "NativeDialog.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "AccessibleNames.h"
#include "DialogFontTable.h"
#include "DialogTemplate.h"
#include "InMemoryTemplate.h"
#include "WideText.h"
#include "Win32FileDialog.h"

#include <commctrl.h>

namespace pavok {

namespace {

// At the screen's scale: the sizes are pixels at 96 dots per inch.
HFONT MakeFont(const FontDescription& font, DWORD pitch, HWND window) {
  const HDC screen = GetDC(window);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(window, screen);
  return CreateFontW(MulDiv(font.cellHeight, dpi, 96), MulDiv(font.averageWidth, dpi, 96), 0, 0, font.weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, pitch, Widen(font.face).c_str());
}

std::optional<ControlClass> ClassOf(ControlId id) {
  const auto found = std::ranges::find(kMainDialogControls, id, &ControlTemplate::id);
  if (found == kMainDialogControls.end()) return std::nullopt;
  return found->controlClass;
}

// The notification a control's WM_COMMAND code stands for; the codes of
// each class overlap, so the class decides.
std::optional<Notification> NotificationOf(ControlClass controlClass, WORD code) {
  switch (controlClass) {
    case ControlClass::Button:
      if (code == BN_CLICKED) return Notification::Clicked;
      break;
    case ControlClass::ListBox:
      if (code == LBN_SELCHANGE) return Notification::SelChange;
      if (code == LBN_DBLCLK) return Notification::DblClk;
      break;
    case ControlClass::ComboBox:
      if (code == CBN_SELCHANGE) return Notification::SelChange;
      break;
    case ControlClass::Edit:
      if (code == EN_KILLFOCUS) return Notification::KillFocus;
      break;
    case ControlClass::Static:
    case ControlClass::ProgressBar:
      break;
  }
  return std::nullopt;
}

// What a person does to a window, as opposed to what the system or the
// program does to it (paint, timers, focus).
bool IsUserInput(UINT message) {
  return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
         (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
         (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK) || message == WM_TOUCH ||
         (message >= WM_POINTERUPDATE && message <= WM_POINTERHWHEEL) || message == WM_GESTURE;
}

// The wheel over the closed chip-type list chooses another type only while
// the list has the focus, whatever control the person is working in.
LRESULT CALLBACK WheelOnlyWithFocus(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  if ((message == WM_MOUSEWHEEL || message == WM_MOUSEHWHEEL) && ::GetFocus() != window) {
    return SendMessageW(GetParent(window), message, wParam, lParam);
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

NativeDialog::~NativeDialog() {
  if (fixedFont_ != nullptr) DeleteObject(fixedFont_);
  if (creditFont_ != nullptr) DeleteObject(creditFont_);
}

int NativeDialog::Run() {
  const ActiveWindowScope active(&logic_.windowOperations());
  const std::vector<std::uint16_t> words = BuildDialogTemplate(kMainDialog, kMainDialogControls);
  const INT_PTR result = DialogBoxIndirectParamW(instance_, reinterpret_cast<LPCDLGTEMPLATEW>(words.data()),
                                                 nullptr, DialogProc, reinterpret_cast<LPARAM>(this));
  window_ = nullptr;
  return static_cast<int>(result);
}

INT_PTR CALLBACK NativeDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(window, DWLP_USER, lParam);
    reinterpret_cast<NativeDialog*>(lParam)->OnInitDialog(window);
    return TRUE;  // the focus goes to the first tab stop
  }
  auto* self = reinterpret_cast<NativeDialog*>(GetWindowLongPtrW(window, DWLP_USER));
  return self == nullptr ? FALSE : self->OnMessage(message, wParam, lParam);
}

INT_PTR NativeDialog::OnMessage(UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE) {
    // The control the focus goes back to; the dialog manager keeps it too.
    if (HWND focus = ::GetFocus(); focus != nullptr && IsChild(window_, focus)) inactiveFocus_ = focus;
    return FALSE;
  }
  if (message != WM_COMMAND) return FALSE;
  OnCommand(static_cast<ControlId>(LOWORD(wParam)), HIWORD(wParam));
  return TRUE;
}

void NativeDialog::OnInitDialog(HWND window) {
  window_ = window;
  for (const auto& [size, kind] : {std::pair{32, ICON_BIG}, std::pair{16, ICON_SMALL}}) {
    const HANDLE icon = LoadImageW(instance_, MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, size, size, 0);
    SendMessageW(window, WM_SETICON, kind, reinterpret_cast<LPARAM>(icon));
  }
  fixedFont_ = MakeFont(kFixedFont, FIXED_PITCH | FF_MODERN, window);
  creditFont_ = MakeFont(kCreditFont, VARIABLE_PITCH | FF_SWISS, window);
  for (const ControlId id : kFixedFontControls) {
    SendMessageW(Item(id), WM_SETFONT, reinterpret_cast<WPARAM>(fixedFont_), FALSE);
  }
  SendMessageW(Item(IDC_CREDIT), WM_SETFONT, reinterpret_cast<WPARAM>(creditFont_), FALSE);
  SetWindowSubclass(Item(IDC_CHIP_TYPE), WheelOnlyWithFocus, 0, 0);
  NameControls(window, kMainDialogControls);
  logic_.OnInitDialog();
}

void NativeDialog::OnCommand(ControlId id, WORD code) {
  if (quiet_) return;
  // Esc and the close box: the dialog manager's cancel, from no control of
  // the template.
  std::optional<Notification> notification;
  if (id == IDCANCEL) {
    notification = Notification::Clicked;
  } else if (const std::optional<ControlClass> controlClass = ClassOf(id)) {
    notification = NotificationOf(*controlClass, code);
  }
  if (!notification) return;
  ++handling_;
  logic_.Notify(id, *notification);
  --handling_;
}

// An edit field's upper-case style would change the program's own text too
// (the sum line "7f800"), so it is off while the program sets the text.
void NativeDialog::SetText(ControlId id, std::string_view utf8) {
  HWND item = Item(id);
  const LONG_PTR style = GetWindowLongPtrW(item, GWL_STYLE);
  const bool upperCase = ClassOf(id) == ControlClass::Edit && (style & ES_UPPERCASE) != 0;
  if (upperCase) SetWindowLongPtrW(item, GWL_STYLE, style & ~static_cast<LONG_PTR>(ES_UPPERCASE));
  SetWindowTextW(item, Widen(utf8).c_str());
  if (upperCase) SetWindowLongPtrW(item, GWL_STYLE, style);
}

std::string NativeDialog::GetText(ControlId id) {
  HWND item = Item(id);
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(item)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(item, text.data(), static_cast<int>(text.size()))));
  return Narrow(text);
}

void NativeDialog::SetTextLimit(ControlId id, int characters) {
  SendMessageW(Item(id), EM_LIMITTEXT, static_cast<WPARAM>(characters), 0);
}

// Entries go in at given places, so the list's sorted style never reorders
// them; the list is drawn once, when all are in.
void NativeDialog::SetListLines(ControlId id, std::span<const std::string> lines) {
  HWND list = Item(id);
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  SendMessageW(list, LB_INITSTORAGE, lines.size(), lines.empty() ? 0 : lines.size() * (lines.front().size() + 1));
  for (const std::string& line : lines) {
    SendMessageW(list, LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(Widen(line).c_str()));
  }
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

void NativeDialog::SetListLine(ControlId id, int index, std::string_view utf8) {
  HWND list = Item(id);
  if (index < 0 || index >= SendMessageW(list, LB_GETCOUNT, 0, 0)) return;
  const LRESULT selected = SendMessageW(list, LB_GETCURSEL, 0, 0);
  const LRESULT top = SendMessageW(list, LB_GETTOPINDEX, 0, 0);
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
  SendMessageW(list, LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(Widen(utf8).c_str()));
  if (selected == index) SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

int NativeDialog::GetListSelection(ControlId id) {
  const LRESULT selected = SendMessageW(Item(id), LB_GETCURSEL, 0, 0);
  return selected == LB_ERR ? -1 : static_cast<int>(selected);
}

void NativeDialog::SetComboItems(ControlId id, std::span<const std::string_view> items) {
  HWND combo = Item(id);
  SendMessageW(combo, CB_RESETCONTENT, 0, 0);
  for (const std::string_view item : items) {
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
  }
}

bool NativeDialog::SetComboSelection(ControlId id, int index) {
  return SendMessageW(Item(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0) == index;
}

int NativeDialog::GetComboSelection(ControlId id) {
  const LRESULT selected = SendMessageW(Item(id), CB_GETCURSEL, 0, 0);
  return selected == CB_ERR ? -1 : static_cast<int>(selected);
}

bool NativeDialog::IsChecked(ControlId id) { return IsDlgButtonChecked(window_, id) == BST_CHECKED; }

void NativeDialog::SetProgressRange(ControlId id, int minimum, int maximum) {
  SendMessageW(Item(id), PBM_SETRANGE32, static_cast<WPARAM>(minimum), static_cast<LPARAM>(maximum));
}

void NativeDialog::SetProgressPos(ControlId id, int position) {
  SendMessageW(Item(id), PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void NativeDialog::EnableControl(ControlId id, bool enabled) { EnableWindow(Item(id), enabled ? TRUE : FALSE); }

// Through the dialog manager, so the default button follows; the field the
// focus leaves raises no notification, as none of the program's changes do.
void NativeDialog::SetFocus(ControlId id) {
  quiet_ = true;
  SendMessageW(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(id)), TRUE);
  quiet_ = false;
}

// While a box or another program has the focus, the control that gets it
// back when the dialog is active again.
ControlId NativeDialog::GetFocus() {
  HWND focus = ::GetFocus();
  if (focus == nullptr || window_ == nullptr || !IsChild(window_, focus)) focus = inactiveFocus_;
  return focus == nullptr ? IDC_STATIC : static_cast<ControlId>(GetDlgCtrlID(focus));
}

bool NativeDialog::AskYesNo(std::string_view text) {
  return MessageBoxW(window_, Widen(text).c_str(), Widen(kMessageTitle).c_str(), MB_YESNO) == IDYES;
}

void NativeDialog::ShowMessage(std::string_view text) {
  MessageBoxW(window_, Widen(text).c_str(), Widen(kMessageTitle).c_str(), MB_OK);
}

FileDialogResult NativeDialog::ShowFileDialog(const FileDialogRequest& request) {
  return RunFileDialog(window_, request);
}

void NativeDialog::Repaint(ControlId id) { UpdateWindow(Item(id)); }

// Input aimed at a busy dialog is taken from the queue and dropped; the
// rest (paints, the system's requests, timers) is handled as usual.
void NativeDialog::PumpEvents() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    const bool toDialog = message.hwnd == window_ || IsChild(window_, message.hwnd);
    if (busy_ && toDialog && IsUserInput(message.message)) continue;
    if (busy_ || !IsDialogMessageW(window_, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

void NativeDialog::EndDialog(int result) { ::EndDialog(window_, result); }

int RunNativeDialog(HINSTANCE instance) {
  const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&classes);
  NativeDialog dialog(instance);
  return dialog.Run() == -1 ? 1 : 0;
}

}  // namespace pavok
