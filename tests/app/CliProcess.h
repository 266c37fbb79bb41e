#pragma once
// Runs the built pavok-cli (named by PAVOK_CLI) as a separate process, the way
// a shell does: no terminal (a session of its own, standard input from
// /dev/null), in the current directory and with this process's environment,
// which the USB tests' testbed reaches it through.

#include <sys/types.h>

#include <string>
#include <vector>

#include "TestEnvironment.h"

namespace pavok::test {

struct Spawned {
  int status = -1;  // the exit status; -1 when the program did not exit by itself
  std::string out;
  std::string errors;
};

// The program named by PAVOK_CLI, or null when none is.
const char* CliProgramPath();

// Starts the program with `arguments`, its output streams going to the files
// `outputs`.out and .err in `directory` (programs that run at the same time
// need names of their own); 0 when it could not be started.
pid_t Start(const std::vector<std::string>& arguments, const TemporaryDirectory& directory,
            const std::string& outputs = "spawned", const std::string& input = "/dev/null");

// Waits for the program to end and takes what it wrote.
Spawned Finish(pid_t pid, const TemporaryDirectory& directory, const std::string& outputs = "spawned");

// Start, then Finish.
Spawned Spawn(const std::vector<std::string>& arguments, const TemporaryDirectory& directory,
              const std::string& input = "/dev/null");

}  // namespace pavok::test
