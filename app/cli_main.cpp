// pavok-cli: the programmer's commands from a shell.

#include <unistd.h>

#include <iostream>

#include "CliProgram.h"

int main(int argc, char* argv[]) {
  const pavok::CliConsole console{std::cout, std::cerr, pavok::AskOnControllingTerminal,
                                  isatty(STDERR_FILENO) != 0};
  return pavok::RunCliProgram(argc, argv, console);
}
