#pragma once
// Names for assistive technology. A screen reader names a standard control
// by the label just before it in the tab order; the controls the template
// gives no label of their own (the status field, the hex list, the chip
// type...) get their accessibleName through the system's annotation
// service instead: as their name, or for a text, which is named by what it
// shows (the status field), as its description.

#include <span>

#include "DialogTemplate.h"

#include <windows.h>

namespace pavok {

// Best effort: a system without the service leaves the controls unnamed.
void NameControls(HWND dialog, std::span<const ControlTemplate> controls);

}  // namespace pavok
