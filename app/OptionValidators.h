#pragma once
// Checks for option values that both programs share, with messages that say
// what was expected.

#include <CLI/CLI.hpp>

#include <string>
#include <vector>

namespace pavok {

// "a, b or c".
std::string ListWithOr(const std::vector<std::string>& words);

// One of `words`, in either case; the value is rewritten to the word's
// spelling. Any other value is refused with "\"VALUE\" is not WHAT: expected
// a, b or c".
CLI::Validator OneOfValidator(std::string what, std::vector<std::string> words);

// A chip type label ("C02", "C04", "C08", "C16"), in either case; the value
// is rewritten to the table's spelling. With `forSelection`, also the
// chip's own name ("24C02") and "auto".
CLI::Validator ChipTypeValidator(bool forSelection = false);

// An adapter kind of AdapterKinds.h, or "auto".
CLI::Validator AdapterKindValidator();

// A USB id "VID:PID" in hexadecimal.
CLI::Validator UsbIdValidator();

// A file name that is not empty.
CLI::Validator FileNameValidator();

// A whole number, written in decimal, from `minimum` to `maximum`.
CLI::Validator WholeNumberValidator(long long minimum, long long maximum);

}  // namespace pavok
