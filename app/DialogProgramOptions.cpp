#include "DialogProgramOptions.h"

#include <CLI/CLI.hpp>
#include <string>

#include "LanguageOption.h"
#include "Translation.h"
#include "Version.h"

namespace pavok {

void AddDialogProgramOptions(CLI::App& cli, TransportOptions& options, std::string& language) {
  cli.description(Tr(kDialogProgramDescription));
  AddTransportOptions(cli, options);
  AddLanguageOption(cli, language);
  const std::string version = std::string(kProductName) + " (" + std::string(kFileDescription) +
                              ")\nfile version " + std::string(kFileVersion) + ", product version " +
                              std::string(kProductVersion) + "\n" + std::string(kLicence);
  cli.set_version_flag("--version", version, Tr("Print the file and product versions and the licence, and exit"));
}

}  // namespace pavok
