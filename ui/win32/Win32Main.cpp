// pavok.exe, the native dialog program: reads the command line, chooses the
// adapter and runs the one dialog until the user ends it. A program of the
// windows subsystem has no console of its own: what it prints goes to the
// console it was started from, if any, and otherwise into a message box.

#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "NativeDialog.h"
#include "DialogProgramOptions.h"
#include "LanguageOption.h"
#include "WideText.h"
#include "WindowOperations.h"

#include <windows.h>
#include <shellapi.h>

namespace pavok {

namespace {

// Where --help, --version, --trace and start-up errors go: the standard
// handles the program was given (a redirection, a pipe), else the console
// of the program that started this one (a command prompt). Without either,
// a message box shows what would be printed.
bool HasStandardOutput() {
  const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  if (output != nullptr && output != INVALID_HANDLE_VALUE && GetFileType(output) != FILE_TYPE_UNKNOWN) return true;
  if (!AttachConsole(ATTACH_PARENT_PROCESS)) return false;
  std::freopen("CONOUT$", "w", stdout);
  std::freopen("CONOUT$", "w", stderr);
  return true;
}

void Tell(const std::string& text, bool console, bool problem) {
  if (console) {
    std::fputs(text.c_str(), problem ? stderr : stdout);
    std::fflush(problem ? stderr : stdout);
    return;
  }
  MessageBoxW(nullptr, Widen(text).c_str(), Widen(kMessageTitle).c_str(),
              MB_OK | (problem ? MB_ICONERROR : MB_ICONINFORMATION));
}

// The command line as UTF-8 arguments, whatever the system's code page.
std::vector<std::string> Arguments() {
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int i = 0; i < count; ++i) arguments.push_back(Narrow(wide[i]));
  LocalFree(wide);
  return arguments;
}

}  // namespace

}  // namespace pavok

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  using namespace pavok;
  const bool console = HasStandardOutput();
  CLI::App cli{std::string(kDialogProgramDescription), "pavok"};
  TransportOptions options;
  std::string language;
  AddDialogProgramOptions(cli, options, language);

  std::vector<std::string> arguments = Arguments();
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  try {
    cli.parse(static_cast<int>(argv.size()), argv.data());
  } catch (const CLI::ParseError& error) {
    std::ostringstream out, err;
    const int status = cli.exit(error, out, err);
    Tell(out.str() + err.str(), console, status != 0);
    return status;
  }
  SelectProgramLanguage(language);

  std::string error;
  const std::unique_ptr<Transport> transport = MakeTransport(options, error);
  if (!transport) {
    Tell("pavok: " + error + "\n", console, true);
    return 1;
  }
  const TransportScope transportScope(*transport);
  return RunNativeDialog(instance);
}
