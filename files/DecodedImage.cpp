#include "DecodedImage.h"

#include <algorithm>

namespace pavok {

bool DecodedImage::Put(std::uint64_t address, std::span<const std::uint8_t> data) {
  if (data.empty()) return true;
  // 64 bits: a 32-bit address plus a record's length cannot wrap round.
  if (address >= bytes.size() || data.size() > bytes.size() - address) return false;
  const auto start = static_cast<std::size_t>(address);
  for (std::size_t i = 0; i < data.size(); ++i) {
    if (!given[start + i]) ++count;
    given[start + i] = true;
  }
  std::copy(data.begin(), data.end(), bytes.begin() + static_cast<std::ptrdiff_t>(start));
  return true;
}

}  // namespace pavok
