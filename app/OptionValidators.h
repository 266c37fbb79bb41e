#pragma once
// Checks for option values that both programs share, with messages that say
// what was expected.

#include <CLI/CLI.hpp>

namespace pavok {

// A chip type label ("C02", "C04", "C08", "C16"), in either case; the value
// is rewritten to the table's spelling.
CLI::Validator ChipTypeValidator();

// A USB id "VID:PID" in hexadecimal.
CLI::Validator UsbIdValidator();

// A file name that is not empty.
CLI::Validator FileNameValidator();

// A whole number, written in decimal, from `minimum` to `maximum`.
CLI::Validator WholeNumberValidator(long long minimum, long long maximum);

}  // namespace pavok
