#include "AdapterKinds.h"

#include <algorithm>
#include <vector>

namespace pavok {

const AdapterKind* FindAdapterKind(std::string_view name) {
  const auto match = std::ranges::find(kAdapterKinds, name, &AdapterKind::name);
  return match != kAdapterKinds.end() ? &*match : nullptr;
}

std::vector<std::string> AdapterNames() {
  std::vector<std::string> names{std::string(kAutoAdapter)};
  for (const AdapterKind& kind : kAdapterKinds) names.emplace_back(kind.name);
  return names;
}

}  // namespace pavok
