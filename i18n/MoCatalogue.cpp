#include "MoCatalogue.h"

#include <string_view>

namespace pavok {

namespace {

constexpr std::uint32_t kMagic = 0x950412de;
constexpr std::uint32_t kSwappedMagic = 0xde120495;

// The layout: magic, revision, string count, offset of the originals' table,
// offset of the translations' table; each table holds (length, offset) pairs.
class MoReader {
 public:
  MoReader(std::span<const std::uint8_t> bytes, bool swapped) : bytes_(bytes), swapped_(swapped) {}

  std::optional<std::uint32_t> Word(std::size_t offset) const {
    if (offset > bytes_.size() || bytes_.size() - offset < 4) return std::nullopt;
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
      const std::size_t index = swapped_ ? offset + i : offset + 3 - i;
      value = (value << 8) | bytes_[index];
    }
    return value;
  }

  // String `index` of the table at `table`.
  std::optional<std::string_view> String(std::uint32_t table, std::uint32_t index) const {
    const std::size_t entry = std::size_t{table} + std::size_t{index} * 8;
    const auto length = Word(entry);
    const auto offset = Word(entry + 4);
    if (!length || !offset || *offset > bytes_.size() || bytes_.size() - *offset < *length) return std::nullopt;
    return std::string_view(reinterpret_cast<const char*>(bytes_.data()) + *offset, *length);
  }

 private:
  std::span<const std::uint8_t> bytes_;
  bool swapped_;
};

}  // namespace

std::optional<TextTable> ReadMoCatalogue(std::span<const std::uint8_t> bytes) {
  const auto magic = MoReader(bytes, false).Word(0);
  if (!magic || (*magic != kMagic && *magic != kSwappedMagic)) return std::nullopt;
  const MoReader reader(bytes, *magic == kSwappedMagic);
  const auto count = reader.Word(8);
  const auto originals = reader.Word(12);
  const auto translations = reader.Word(16);
  if (!count || !originals || !translations) return std::nullopt;
  TextTable table;
  for (std::uint32_t i = 0; i < *count; ++i) {
    const auto original = reader.String(*originals, i);
    const auto translation = reader.String(*translations, i);
    if (!original || !translation) return std::nullopt;
    if (original->empty() || translation->empty()) continue;
    table.emplace(*original, *translation);
  }
  return table;
}

}  // namespace pavok
