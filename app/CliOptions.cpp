#include "CliOptions.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "ChipType.h"
#include "ImageFormat.h"
#include "LanguageOption.h"
#include "OptionValidators.h"
#include "Translation.h"
#include "Version.h"

namespace pavok {

namespace {

struct CommandEntry {
  CliCommand command;
  const char* name;
  const char* description;
  const char* fileDescription;  // null: the command takes no FILE
};

constexpr std::array<CommandEntry, 6> kCommands{{
    {CliCommand::Read, "read", "Read the chip and save it to FILE (leaves temp.bin in the current directory)",
     "Image file to write"},
    {CliCommand::Write, "write", "Write FILE to the chip", "Image file to write to the chip"},
    {CliCommand::Erase, "erase", "Erase the chip: every byte becomes FF", nullptr},
    {CliCommand::Compare, "compare", "Compare the byte sums of the chip and FILE", "Image file to compare with"},
    {CliCommand::Verify, "verify", "Read the chip and compare it with FILE byte by byte",
     "Image file to compare with"},
    {CliCommand::Probe, "probe", "Open the adapter once, read the chip's first block and say what answered",
     nullptr},
}};

constexpr const char* kFooter =
    "Options go before or after the command.\n"
    "Exit status: 0 the command completed (compare, verify: chip and FILE agree),\n"
    "1 compare, verify: chip and FILE differ, 2 the command failed.\n";

// "a, b or c" of the names `name` gives the rows.
template <class Rows, class Name>
std::string NamesWithOr(const Rows& rows, Name name) {
  std::vector<std::string> names;
  for (const auto& row : rows) names.emplace_back(name(row));
  return ListWithOr(names);
}

std::string FormatNames() {
  return NamesWithOr(kImageFormats, [](const ImageFormat& format) { return format.name; });
}

// "raw (any other extension), ihex (.hex .ihx .ihex), ..." for the help.
std::string FormatsByExtension() {
  std::string list;
  for (const ImageFormat& format : kImageFormats) {
    std::string extensions;
    for (const std::string_view extension : format.extensions) {
      if (!extension.empty()) extensions += (extensions.empty() ? "." : " .") + std::string(extension);
    }
    list += (list.empty() ? "" : ", ") + std::string(format.name) + " (" +
            (extensions.empty() ? Tr("any other extension") : extensions) + ")";
  }
  return list;
}

CLI::Validator ImageFormatValidator() {
  return CLI::Validator(
      [](const std::string& value) -> std::string {
        if (FindImageFormat(value) != nullptr) return {};
        return FormatText(Tr("\"%1\" is not an image format: expected %2"), {value, FormatNames()});
      },
      "");
}

void AddCommands(CLI::App& app, CliOptions& options, std::array<CLI::App*, kCommands.size()>& subcommands) {
  for (std::size_t i = 0; i < kCommands.size(); ++i) {
    const CommandEntry& entry = kCommands[i];
    subcommands[i] = app.add_subcommand(entry.name, Tr(entry.description));
    if (entry.fileDescription != nullptr) {
      subcommands[i]
          ->add_option("FILE", options.file, Tr(entry.fileDescription))
          ->type_name("")
          ->required()
          ->check(FileNameValidator());
    }
  }
  CLI::App& write = *subcommands[1];
  write.add_flag("--fast", options.fast,
                 Tr("Read the chip first and write only the 4-byte groups where FILE differs from it"));
  // Without either, a FILE that does not give every byte of the chip, or
  // gives more, is refused before anything is sent.
  CLI::Option* pad = write.add_flag_callback(
      "--pad", [&options] { options.missing = MissingBytes::Pad; },
      Tr("Write FF where FILE gives no byte, and leave out bytes beyond the chip"));
  write.add_flag_callback(
           "--merge", [&options] { options.missing = MissingBytes::Merge; },
           Tr("Read the chip first and keep its own bytes where FILE gives none"))
      ->excludes(pad);
}

// What the user typed as the command when it names none of ours: the first
// word that is neither an option nor an option's value.
std::optional<std::string> UnknownCommand(const CLI::App& app, int argc, const char* const argv[]) {
  for (int i = 1; i < argc; ++i) {
    const std::string word = argv[i];
    if (word.empty() || word.front() != '-') {
      const bool known = std::any_of(kCommands.begin(), kCommands.end(),
                                     [&word](const CommandEntry& entry) { return word == entry.name; });
      return known ? std::nullopt : std::optional<std::string>(word);
    }
    const CLI::Option* option = app.get_option_no_throw(word);
    if (option != nullptr && option->get_expected_min() > 0) ++i;  // its value follows
  }
  return std::nullopt;
}

std::string CommandList() {
  return NamesWithOr(kCommands, [](const CommandEntry& entry) { return std::string(entry.name); });
}

}  // namespace

std::optional<int> ParseCliArguments(int argc, const char* const argv[], CliOptions& options, std::ostream& out,
                                     std::ostream& errors) {
  CLI::App app(Tr("Reads, writes, erases and compares C02-C16 serial EEPROMs on the USB adapter."), "pavok-cli");
  app.set_version_flag("--version", "pavok-cli " + std::string(kFileVersion) + "\n" + std::string(kLicence));
  app.footer(Tr(kFooter));
  // Options of the program are also taken after the command.
  app.fallthrough();
  // A path such as /dev/full stays a file name on Windows too.
  app.allow_windows_style_options(false);
  app.require_subcommand(1);

  AddTransportOptions(app, options.transport);
  app.add_option("--chip", options.chip,
                 Tr("Chip type selected, C02, C04, C08 or C16 (or 24C02 ... 24C16): the bytes read, written or "
                    "compared; auto: the type the chip answers as, on the CH341A"))
      ->type_name("TYPE")
      ->transform(ChipTypeValidator(true))
      ->capture_default_str();
  app.add_option("--format", options.format,
                 FormatText(Tr("Format of FILE, whatever its extension: %1. Without it the extension chooses: %2"),
                            {FormatNames(), FormatsByExtension()}))
      ->type_name("FORMAT")
      ->check(ImageFormatValidator());
  AddLanguageOption(app, options.language);
  app.add_flag("-y,--yes", options.assumeYes, Tr("Answer Yes to every question"));
  app.add_flag("-v,--verbose", options.verbose, Tr("Show the status of the port and the adapter in use"));
  std::array<CLI::App*, kCommands.size()> subcommands{};
  AddCommands(app, options, subcommands);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    if (const auto word = UnknownCommand(app, argc, argv)) {
      errors << FormatText(Tr("\"%1\" is not a command: expected %2"), {*word, CommandList()}) << '\n'
             << Tr("Run with --help for more information.") << '\n';
      return static_cast<int>(ExitStatus::Failed);
    }
    const int status = app.exit(e, out, errors);
    return status == 0 ? 0 : static_cast<int>(ExitStatus::Failed);
  }
  for (std::size_t i = 0; i < kCommands.size(); ++i) {
    if (app.got_subcommand(subcommands[i])) options.command = kCommands[i].command;
  }
  return std::nullopt;
}

int SelectedChipSize(const CliOptions& options) {
  const auto type = FindChipType(options.chip);
  return type ? type->size : kChipTypes[kInitialChipTypeIndex].size;
}

std::optional<ImageFormatId> SelectedImageFormat(const CliOptions& options) {
  const ImageFormat* format = FindImageFormat(options.format);
  return format != nullptr ? std::optional<ImageFormatId>(format->id) : std::nullopt;
}

}  // namespace pavok
