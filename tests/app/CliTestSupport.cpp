#include "CliTestSupport.h"

#include <sstream>

#include "CliProgram.h"

namespace pavok::test {

CliRun RunCli(const std::vector<std::string>& arguments, std::optional<std::string> answer) {
  // The original texts the tests expect, whatever the machine's language
  // (Wine's is English).
  std::vector<const char*> argv{"pavok-cli", "--language", "ru"};
  for (const std::string& argument : arguments) argv.push_back(argument.c_str());
  std::ostringstream out;
  std::ostringstream errors;
  const CliConsole console{out, errors, [answer](std::string_view) { return answer; }, false};
  CliRun run;
  run.status = RunCliProgram(static_cast<int>(argv.size()), argv.data(), console);
  run.out = out.str();
  run.errors = errors.str();
  return run;
}

std::string PatternBytes(std::size_t size, unsigned seed) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * seed + i / 256);
  return bytes;
}

}  // namespace pavok::test
