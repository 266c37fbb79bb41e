#include "ScriptedControls.h"

#include <algorithm>
#include <utility>

#include "DialogTemplate.h"

namespace pavok::test {

namespace {

const ControlTemplate* TemplateOf(ControlId id) {
  const auto* found = std::ranges::find(kMainDialogControls, id, &ControlTemplate::id);
  return found == kMainDialogControls.end() ? nullptr : found;
}

bool HasTemplateStyle(ControlId id, ControlStyle style) {
  const ControlTemplate* control = TemplateOf(id);
  return control != nullptr && HasStyle(control->style, style);
}

bool IsPushButton(ControlId id) {
  const ControlTemplate* control = TemplateOf(id);
  return control != nullptr && control->controlClass == ControlClass::Button &&
         !HasStyle(control->style, ControlStyle::AutoCheckBox) && !HasStyle(control->style, ControlStyle::GroupBox);
}

// Latin letters upper-cased, as the upper-case style does; no test types a
// lower-case letter of another script that would matter.
std::string UpperCase(std::string_view utf8) {
  std::string upper(utf8);
  for (char& character : upper) {
    if (character >= 'a' && character <= 'z') character = static_cast<char>(character - 'a' + 'A');
  }
  return upper;
}

}  // namespace

void ScriptedControls::Click(ControlId button) {
  MoveFocus(button);
  if (HasTemplateStyle(button, ControlStyle::AutoCheckBox)) controls[button].checked = !controls[button].checked;
  dialog.Notify(button, Notification::Clicked);
}

void ScriptedControls::Type(ControlId field, std::string_view utf8) {
  MoveFocus(field);
  // The limit is the front end's to keep; the logic only sets it.
  controls[field].text = HasTemplateStyle(field, ControlStyle::UpperCase) ? UpperCase(utf8) : std::string(utf8);
}

void ScriptedControls::MoveFocus(ControlId to) {
  const ControlId from = std::exchange(focus, to);
  if (from != to) dialog.Notify(from, Notification::KillFocus);
}

void ScriptedControls::SelectEntry(ControlId list, int entry) {
  MoveFocus(list);
  controls[list].selection = entry;
  dialog.Notify(list, Notification::SelChange);
}

void ScriptedControls::DoubleClickEntry(int entry) {
  SelectEntry(IDC_HEX_LIST, entry);
  dialog.Notify(IDC_HEX_LIST, Notification::DblClk);
}

void ScriptedControls::PressEnter() { dialog.Notify(IsPushButton(focus) ? focus : IDOK, Notification::Clicked); }

void ScriptedControls::SetListLines(ControlId id, std::span<const std::string> lines) {
  controls[id].entries.assign(lines.begin(), lines.end());
  controls[id].selection = -1;
}

void ScriptedControls::SetListLine(ControlId id, int index, std::string_view utf8) {
  auto& entries = controls[id].entries;
  if (index >= 0 && static_cast<std::size_t>(index) < entries.size()) entries[static_cast<std::size_t>(index)] = utf8;
}

void ScriptedControls::SetComboItems(ControlId id, std::span<const std::string_view> items) {
  controls[id].entries.assign(items.begin(), items.end());
  controls[id].selection = -1;
}

bool ScriptedControls::SetComboSelection(ControlId id, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= controls[id].entries.size()) return false;
  controls[id].selection = index;
  return true;
}

void ScriptedControls::SetProgressRange(ControlId id, int minimum, int maximum) {
  Control& bar = controls[id];
  bar.progressMin = minimum;
  bar.progressMax = maximum;
  SetProgressPos(id, bar.progressPos);
}

void ScriptedControls::SetProgressPos(ControlId id, int position) {
  Control& bar = controls[id];
  bar.progressPos = std::clamp(position, bar.progressMin, std::max(bar.progressMin, bar.progressMax));
}

void ScriptedControls::PumpEvents() {
  events.emplace_back("pump");
  if (duringPump) duringPump();
}

void ScriptedControls::EndDialog(int result) {
  events.push_back("end: " + std::to_string(result));
  endedWith = result;
}

}  // namespace pavok::test
