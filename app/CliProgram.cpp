#include "CliProgram.h"

#include "CliCommands.h"
#include "CliOptions.h"
#include "LanguageOption.h"
#include "Translation.h"
#include "Transport.h"
#include "TransportOptions.h"

namespace pavok {

int RunCliProgram(int argc, const char* const argv[], const CliConsole& console) {
  CliOptions options;
  SelectProgramLanguage(LanguageInArguments(argc, argv));
  if (const std::optional<int> status = ParseCliArguments(argc, argv, options, console.out, console.errors)) {
    return *status;
  }
  SelectProgramLanguage(options.language);
  // The status texts --verbose shows are followed by the adapter in use.
  options.transport.nameAdapter = options.verbose;
  std::string error;
  const std::unique_ptr<Transport> transport = MakeTransport(options.transport, error);
  if (!transport) {
    console.errors << "pavok-cli: " << error << '\n';
    return static_cast<int>(ExitStatus::Failed);
  }
  const TransportScope scope(*transport);
  // Written, it would be the chip changing under the command; read, it
  // would stand for the chip it is compared with.
  if (IsChipImage(options.transport, options.file)) {
    console.errors << "pavok-cli: "
                   << FormatText(Tr("%1 is the emulated chip image %2; nothing was done: give FILE another name"),
                                 {options.file, options.transport.chipImage})
                   << '\n';
    return static_cast<int>(ExitStatus::Failed);
  }

  TerminalSettings settings;
  settings.assumeYes = options.assumeYes;
  settings.fastWrite = options.fast;
  settings.verbose = options.verbose;
  // A trace writes a line per request; a bar redrawn between them would
  // only garble both.
  settings.progressBar = console.errorsIsTerminal && !options.transport.trace;
  TerminalWindow window(settings, console.errors, console.prompt);

  CommandRequest request{options.command, options.file, 0, SelectedImageFormat(options), options.missing};
  if (options.chip == kAutoChip) {
    const std::optional<int> detected = DetectChipSize(window);
    if (!detected) return static_cast<int>(ExitStatus::Failed);
    request.chipSize = *detected;
  } else {
    request.chipSize = SelectedChipSize(options);
  }
  return static_cast<int>(RunCliCommand(request, window, console.out));
}

}  // namespace pavok
