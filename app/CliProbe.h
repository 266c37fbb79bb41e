#pragma once
// pavok-cli probe: one look at the adapter for a person setting it up, with
// no change to the chip.

#include <ostream>

#include "CliCommands.h"
#include "TerminalWindow.h"

namespace pavok {

// Opens the current transport once for a read of the chip's first block.
// Says on `out` which adapter opened (its ids, and on USB its bus and device
// number) and whether the chip answered; why the adapter could not be opened
// goes through `window`. Success only when the chip answered.
ExitStatus RunProbe(TerminalWindow& window, std::ostream& out);

}  // namespace pavok
