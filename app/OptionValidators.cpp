#include "OptionValidators.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "AdapterKinds.h"
#include "ChipType.h"
#include "Translation.h"
#include "UsbId.h"

namespace pavok {

namespace {
std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}
}  // namespace

std::string ListWithOr(const std::vector<std::string>& words) {
  std::string list;
  for (std::size_t i = 0; i < words.size(); ++i) {
    list += i == 0 ? "" : i + 1 == words.size() ? Tr(" or ") : ", ";
    list += words[i];
  }
  return list;
}

CLI::Validator OneOfValidator(std::string what, std::vector<std::string> words) {
  return CLI::Validator(
      [what = std::move(what), words = std::move(words)](std::string& value) -> std::string {
        const auto match = std::ranges::find(words, Upper(value), Upper);
        if (match == words.end()) {
          return FormatText(Tr("\"%1\" is not %2: expected %3"), {value, what, ListWithOr(words)});
        }
        value = *match;
        return {};
      },
      "");
}

CLI::Validator ChipTypeValidator(bool forSelection) {
  std::vector<std::string> labels;
  for (const ChipType& type : kChipTypes) labels.emplace_back(type.label);
  if (forSelection) labels.emplace_back("auto");
  CLI::Validator labelValidator = OneOfValidator(Tr("a chip type"), std::move(labels));
  if (!forSelection) return labelValidator;
  return CLI::Validator(
      [labelValidator](std::string& value) -> std::string {
        // The chips' own names, 24C02 to 24C16, stand for their types.
        if (value.size() == 5 && value.starts_with("24")) {
          std::string label = value.substr(2);
          if (labelValidator(label).empty()) {
            value = label;
            return {};
          }
        }
        return labelValidator(value);
      },
      "");
}

CLI::Validator AdapterKindValidator() { return OneOfValidator(Tr("an adapter"), AdapterNames()); }

CLI::Validator UsbIdValidator() {
  return CLI::Validator(
      [](std::string& value) {
        std::string error;
        ParseUsbId(value, &error);
        return error;
      },
      "");
}

CLI::Validator FileNameValidator() {
  return CLI::Validator(
      [](const std::string& value) -> std::string { return value.empty() ? Tr("the file name is empty") : ""; }, "");
}

CLI::Validator WholeNumberValidator(long long minimum, long long maximum) {
  return CLI::Validator(
      [minimum, maximum](std::string& value) -> std::string {
        const std::string expected = FormatText(Tr(": expected a whole number from %1 to %2"),
                                                {std::to_string(minimum), std::to_string(maximum)});
        long long number = 0;
        const char* end = value.data() + value.size();
        const auto [stop, error] = std::from_chars(value.data(), end, number);
        if (value.empty() || stop != end || error == std::errc::invalid_argument) {
          return FormatText(Tr("\"%1\" is not a number"), {value}) + expected;
        }
        if (error == std::errc::result_out_of_range || number < minimum || number > maximum) {
          return FormatText(Tr("\"%1\" is out of range"), {value}) + expected;
        }
        return {};
      },
      "");
}

}  // namespace pavok
