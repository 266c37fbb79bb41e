#include "OptionValidators.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "ChipType.h"
#include "UsbId.h"

namespace pavok {

CLI::Validator ChipTypeValidator() {
  return CLI::Validator(
      [](std::string& value) -> std::string {
        std::string upper = value;
        std::transform(upper.begin(), upper.end(), upper.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        if (!FindChipType(upper)) return "\"" + value + "\" is not a chip type: expected C02, C04, C08 or C16";
        value = upper;
        return {};
      },
      "");
}

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
      [](const std::string& value) -> std::string { return value.empty() ? "the file name is empty" : ""; }, "");
}

CLI::Validator WholeNumberValidator(long long minimum, long long maximum) {
  return CLI::Validator(
      [minimum, maximum](std::string& value) -> std::string {
        const std::string expected = ": expected a whole number from " + std::to_string(minimum) + " to " +
                                     std::to_string(maximum);
        long long number = 0;
        const char* end = value.data() + value.size();
        const auto [stop, error] = std::from_chars(value.data(), end, number);
        if (value.empty() || stop != end || error == std::errc::invalid_argument) {
          return "\"" + value + "\" is not a number" + expected;
        }
        if (error == std::errc::result_out_of_range || number < minimum || number > maximum) {
          return "\"" + value + "\" is out of range" + expected;
        }
        return {};
      },
      "");
}

}  // namespace pavok
