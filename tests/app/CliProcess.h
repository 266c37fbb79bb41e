#pragma once
// Runs the built pavok-cli (named by PAVOK_CLI) as a separate process, the way
// a shell does: no terminal (a session of its own, standard input from
// /dev/null), in the current directory and environment, which it inherits
// (the USB tests' testbed reaches it that way).

#include <string>
#include <vector>

#include "TestEnvironment.h"

namespace pavok::test {

struct Spawned {
  int status = -1;  // the exit status; -1 when the program did not run or end
  std::string out;
  std::string errors;
};

// The program named by PAVOK_CLI, or null when none is.
const char* CliProgramPath();

// Runs it with `arguments`; its output streams pass through files in
// `directory`.
Spawned Spawn(const std::vector<std::string>& arguments, const TemporaryDirectory& directory);

}  // namespace pavok::test
