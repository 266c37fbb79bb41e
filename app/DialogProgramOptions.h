#pragma once
// The command line both dialog programs share, the Qt pavok and the native
// pavok.exe: their description, the adapter options, --language and --version.

#include <string>
#include <string_view>

#include "TransportOptions.h"

namespace pavok {

inline constexpr std::string_view kDialogProgramDescription =
    "Pavok: reads, writes and edits small I2C serial EEPROMs on a USB adapter.";

// Registers the adapter options, --language (into `language`) and the
// --version flag on `cli`.
void AddDialogProgramOptions(CLI::App& cli, TransportOptions& options, std::string& language);

}  // namespace pavok
