#include "CliProcess.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>

extern char** environ;

namespace pavok::test {

const char* CliProgramPath() { return std::getenv("PAVOK_CLI"); }

pid_t Start(const std::vector<std::string>& arguments, const TemporaryDirectory& directory,
            const std::string& outputs, const std::string& input) {
  const char* program = CliProgramPath();
  if (program == nullptr) return 0;
  std::vector<char*> argv{const_cast<char*>(program)};
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  const std::string outPath = (directory / (outputs + ".out")).string();
  const std::string errorsPath = (directory / (outputs + ".err")).string();

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, input.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, errorsPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);  // no controlling terminal

  pid_t pid = 0;
  if (posix_spawn(&pid, program, &actions, &attributes, argv.data(), environ) != 0) pid = 0;
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

Spawned Finish(pid_t pid, const TemporaryDirectory& directory, const std::string& outputs) {
  Spawned result;
  int wstatus = 0;
  if (pid != 0 && waitpid(pid, &wstatus, 0) == pid && WIFEXITED(wstatus)) result.status = WEXITSTATUS(wstatus);
  result.out = ReadFileBytes(directory / (outputs + ".out"));
  result.errors = ReadFileBytes(directory / (outputs + ".err"));
  return result;
}

Spawned Spawn(const std::vector<std::string>& arguments, const TemporaryDirectory& directory,
              const std::string& input) {
  return Finish(Start(arguments, directory, "spawned", input), directory);
}

}  // namespace pavok::test
