// pavok-cli: the programmer's commands from a shell.

#include <unistd.h>

#include <iostream>

#include "CliCommands.h"
#include "CliProgram.h"
#include "StandardStreams.h"

int main(int argc, char* argv[]) {
  const pavok::CliConsole console{std::cout, std::cerr, pavok::AskOnControllingTerminal,
                                  isatty(STDERR_FILENO) != 0};
  const int status = pavok::RunCliProgram(argc, argv, console);
  return pavok::CheckStandardStreams(status, "pavok-cli", static_cast<int>(pavok::ExitStatus::Failed));
}
