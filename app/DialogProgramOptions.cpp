#include "DialogProgramOptions.h"

#include <CLI/CLI.hpp>
#include <string>

#include "Version.h"

namespace pavok {

void AddDialogProgramOptions(CLI::App& cli, TransportOptions& options) {
  AddTransportOptions(cli, options);
  const std::string version = std::string(kProductName) + " (" + std::string(kFileDescription) +
                              ")\nfile version " + std::string(kFileVersion) + ", product version " +
                              std::string(kProductVersion) + "\n" + std::string(kLicence);
  cli.set_version_flag("--version", version, "Print the file and product versions and the licence, and exit");
}

}  // namespace pavok
