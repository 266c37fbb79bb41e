#include "AdapterKinds.h"

#include <algorithm>
#include <vector>

#include "Translation.h"

namespace pavok {

const AdapterKind* FindAdapterKind(std::string_view name) {
  const auto match = std::ranges::find(kAdapterKinds, name, &AdapterKind::name);
  return match != kAdapterKinds.end() ? &*match : nullptr;
}

std::optional<Ch341aSpeed> Ch341aSpeedOf(const UsbAdapterSettings& settings, std::string& error) {
  const auto speed = Ch341aSpeedFor(settings.i2cSpeedKhz);
  if (!speed) error = FormatText(Tr("the CH341A has no I2C clock of %1 kHz"), {std::to_string(settings.i2cSpeedKhz)});
  return speed;
}

std::vector<std::string> AdapterNames() {
  std::vector<std::string> names{std::string(kAutoAdapter)};
  for (const AdapterKind& kind : kAdapterKinds) names.emplace_back(kind.name);
  return names;
}

}  // namespace pavok
