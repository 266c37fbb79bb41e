#pragma once
// The dialog template that DialogBoxIndirectParamW takes, built in memory
// from the one control table in res/DialogTemplate.h, so no resource script
// holds a second copy of the layout.

#include <cstdint>
#include <span>
#include <vector>

#include "DialogTemplate.h"

namespace pavok {

// The window style a control of the table gets. A read-only field keeps the
// case the program gives it: the upper-case style would change the sum line
// ("7f800") on some systems, and nobody types there.
std::uint32_t Win32Style(const ControlTemplate& control);

// An extended dialog template (DLGTEMPLATEEX and its items), word by word;
// its data() is suitably aligned for the dialog functions.
std::vector<std::uint16_t> BuildDialogTemplate(const DialogTemplate& dialog,
                                               std::span<const ControlTemplate> controls);

}  // namespace pavok
