#pragma once
// Runs pavok-cli in-process, the way its main does, with captured streams and
// a terminal that has a scripted answer or none at all.

#include <optional>
#include <string>
#include <vector>

namespace pavok::test {

struct CliRun {
  int status = -1;
  std::string out;
  std::string errors;
};

// `answer`: what the user types at a question; nothing means no terminal.
CliRun RunCli(const std::vector<std::string>& arguments, std::optional<std::string> answer = std::nullopt);

// `size` bytes that differ between neighbours and between banks, so a byte
// in the wrong place shows.
std::string PatternBytes(std::size_t size, unsigned seed = 7);

}  // namespace pavok::test
