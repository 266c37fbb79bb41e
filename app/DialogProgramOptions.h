#pragma once
// The command line both dialog programs share, the Qt pavok and the native
// pavok.exe: their description, the adapter options and --version.

#include <string_view>

#include "TransportOptions.h"

namespace pavok {

inline constexpr std::string_view kDialogProgramDescription =
    "Pavok: reads, writes and edits small I2C serial EEPROMs on a USB adapter.";

// Registers the adapter options and the --version flag on `cli`.
void AddDialogProgramOptions(CLI::App& cli, TransportOptions& options);

}  // namespace pavok
