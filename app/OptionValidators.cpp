#include "OptionValidators.h"

#include <algorithm>
#include <cctype>

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

}  // namespace pavok
