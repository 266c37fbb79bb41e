#include "InMemoryTemplate.h"

#include <array>
#include <utility>

#include "Translation.h"
#include "WideText.h"

#include <windows.h>
#include <commctrl.h>

namespace pavok {

namespace {

using enum ControlStyle;

// Each template style and the window style it stands for.
constexpr std::array<std::pair<ControlStyle, DWORD>, 19> kStyles{{
    {TabStop, WS_TABSTOP},
    {Group, WS_GROUP},
    {Border, WS_BORDER},
    {PushButton, BS_PUSHBUTTON},
    {DefaultPushButton, BS_DEFPUSHBUTTON},
    {AutoCheckBox, BS_AUTOCHECKBOX},
    {GroupBox, BS_GROUPBOX},
    {MultiLine, BS_MULTILINE},
    {AlignLeft, SS_LEFT},
    {AlignRight, SS_RIGHT},
    {UpperCase, ES_UPPERCASE},
    {ReadOnly, ES_READONLY},
    {Centred, ES_CENTER},
    {AutoHScroll, ES_AUTOHSCROLL},
    {WantReturn, ES_WANTRETURN},
    {Notify, LBS_NOTIFY},
    {Sorted, LBS_SORT},
    {NoIntegralHeight, LBS_NOINTEGRALHEIGHT},
    {VScroll, WS_VSCROLL},
}};

// The predefined classes by their template ordinals; the progress bar is a
// common control and goes by name.
constexpr std::uint16_t ClassOrdinal(ControlClass controlClass) {
  switch (controlClass) {
    case ControlClass::Button: return 0x0080;
    case ControlClass::Edit: return 0x0081;
    case ControlClass::Static: return 0x0082;
    case ControlClass::ListBox: return 0x0083;
    case ControlClass::ComboBox: return 0x0085;
    case ControlClass::ProgressBar: return 0;
  }
  return 0;
}

class TemplateWriter {
 public:
  void Word(std::uint16_t value) { words_.push_back(value); }
  void Dword(std::uint32_t value) {
    Word(static_cast<std::uint16_t>(value & 0xFFFF));
    Word(static_cast<std::uint16_t>(value >> 16));
  }
  void Text(std::string_view utf8) {
    for (const wchar_t unit : Widen(utf8)) Word(static_cast<std::uint16_t>(unit));
    Word(0);
  }
  void Ordinal(std::uint16_t ordinal) {
    Word(0xFFFF);
    Word(ordinal);
  }
  void AlignToDword() {
    if (words_.size() % 2 != 0) Word(0);
  }
  std::vector<std::uint16_t> Take() { return std::move(words_); }

 private:
  std::vector<std::uint16_t> words_;
};

void WriteControl(TemplateWriter& out, const ControlTemplate& control) {
  out.AlignToDword();
  out.Dword(0);  // help id
  out.Dword(0);  // extended style
  out.Dword(Win32Style(control));
  for (const int value : {control.x, control.y, control.width, control.height}) {
    out.Word(static_cast<std::uint16_t>(value));
  }
  out.Dword(static_cast<std::uint32_t>(control.id));
  if (control.controlClass == ControlClass::ProgressBar) {
    out.Text(PROGRESS_CLASSA);
  } else {
    out.Ordinal(ClassOrdinal(control.controlClass));
  }
  out.Text(Tr(control.caption));
  out.Word(0);  // no creation data
}

}  // namespace

std::uint32_t Win32Style(const ControlTemplate& control) {
  DWORD style = WS_CHILD | WS_VISIBLE;
  for (const auto& [templateStyle, windowStyle] : kStyles) {
    if (HasStyle(control.style, templateStyle)) style |= windowStyle;
  }
  if (control.controlClass == ControlClass::ComboBox && HasStyle(control.style, DropDownList)) {
    style |= CBS_DROPDOWNLIST;
  }
  if (HasStyle(control.style, ReadOnly)) style &= ~static_cast<DWORD>(ES_UPPERCASE);
  return style;
}

std::vector<std::uint16_t> BuildDialogTemplate(const DialogTemplate& dialog,
                                               std::span<const ControlTemplate> controls) {
  TemplateWriter out;
  out.Word(1);       // version
  out.Word(0xFFFF);  // extended template
  out.Dword(0);      // help id
  out.Dword(0);      // extended style
  out.Dword(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER);
  out.Word(static_cast<std::uint16_t>(controls.size()));
  for (const int value : {0, 0, dialog.width, dialog.height}) out.Word(static_cast<std::uint16_t>(value));
  out.Word(0);  // no menu
  out.Word(0);  // the dialog class
  out.Text(dialog.caption);
  out.Word(static_cast<std::uint16_t>(dialog.fontPointSize));
  out.Word(FW_NORMAL);
  out.Word(DEFAULT_CHARSET << 8);  // not italic; the character set in the high byte
  out.Text(dialog.fontFace);
  for (const ControlTemplate& control : controls) WriteControl(out, control);
  return out.Take();
}

}  // namespace pavok
