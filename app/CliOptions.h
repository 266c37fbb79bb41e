#pragma once
// The command line of pavok-cli: the adapter options both programs share,
// the options of its own, and one command.

#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "CliCommands.h"
#include "TransportOptions.h"

namespace pavok {

struct CliOptions {
  TransportOptions transport;
  std::string chip = "C16";  // --chip TYPE: the chip type selected, or kAutoChip
  MissingBytes missing = MissingBytes::Refuse;  // write --pad, --merge
  bool assumeYes = false;    // --yes
  bool verbose = false;      // --verbose
  bool fast = false;         // write --fast
  std::string format;        // --format NAME: FILE's format; empty: by its extension
  CliCommand command = CliCommand::Read;
  std::string file;
  std::string language;  // --language CODE; empty: the user's settings choose
};

// Fills `options` from the arguments. Returns the exit status when the
// program ends here: 0 after --help or --version (text on `out`), 2 on bad
// input (the reason on `errors`).
std::optional<int> ParseCliArguments(int argc, const char* const argv[], CliOptions& options, std::ostream& out,
                                     std::ostream& errors);

// --chip auto: the type the chip answers as, on the CH341A.
inline constexpr std::string_view kAutoChip = "auto";

// The size of the chip type that --chip names (not kAutoChip).
int SelectedChipSize(const CliOptions& options);

// The image format that --format names; nothing when FILE's extension chooses.
std::optional<ImageFormatId> SelectedImageFormat(const CliOptions& options);

}  // namespace pavok
