#pragma once
// pavok-cli from its arguments to its exit status.

#include <ostream>

#include "TerminalWindow.h"

namespace pavok {

// Where the program talks to the user.
struct CliConsole {
  std::ostream& out;         // results: comparison, verify report, help
  std::ostream& errors;      // messages, progress, reasons for failure
  TerminalPrompt prompt;     // how questions reach the user
  bool errorsIsTerminal;     // whether a progress bar can be drawn
};

int RunCliProgram(int argc, const char* const argv[], const CliConsole& console);

}  // namespace pavok
