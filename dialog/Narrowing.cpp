#include "Narrowing.h"

#include <array>
#include <cstdint>

namespace pavok {

namespace {

// The characters of bytes 0x80-0xBF; 0 marks the one byte the code page
// leaves undefined. Bytes 0xC0-0xFF are the contiguous letters А-я.
constexpr std::array<char16_t, 64> kUpperHalf{
    u'\u0402', u'\u0403', u'\u201A', u'\u0453', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u20AC', u'\u2030', u'\u0409', u'\u2039', u'\u040A', u'\u040C', u'\u040B', u'\u040F',
    u'\u0452', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    0,         u'\u2122', u'\u0459', u'\u203A', u'\u045A', u'\u045C', u'\u045B', u'\u045F',
    u'\u00A0', u'\u040E', u'\u045E', u'\u0408', u'\u00A4', u'\u0490', u'\u00A6', u'\u00A7',
    u'\u0401', u'\u00A9', u'\u0404', u'\u00AB', u'\u00AC', u'\u00AD', u'\u00AE', u'\u0407',
    u'\u00B0', u'\u00B1', u'\u0406', u'\u0456', u'\u0491', u'\u00B5', u'\u00B6', u'\u00B7',
    u'\u0451', u'\u2116', u'\u0454', u'\u00BB', u'\u0458', u'\u0405', u'\u0455', u'\u0457',
};

constexpr char32_t kFirstLetter = U'\u0410';  // А, byte 0xC0
constexpr char32_t kLastLetter = U'\u044F';   // я, byte 0xFF
constexpr char32_t kNotACharacter = 0xFFFD;

char NarrowCharacter(char32_t character) {
  if (character < 0x80) return static_cast<char>(character);
  if (character >= kFirstLetter && character <= kLastLetter) {
    return static_cast<char>(0xC0 + (character - kFirstLetter));
  }
  for (std::size_t i = 0; i < kUpperHalf.size(); ++i) {
    if (kUpperHalf[i] == character) return static_cast<char>(0x80 + i);
  }
  return '?';
}

// The character that starts at `text[at]`, advancing `at` past it; a byte
// that starts no well-formed sequence is one character of its own.
char32_t NextCharacter(std::string_view text, std::size_t& at) {
  const auto lead = static_cast<std::uint8_t>(text[at++]);
  if (lead < 0x80) return lead;
  const int length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
  if (length == 0 || at + static_cast<std::size_t>(length - 1) > text.size()) return kNotACharacter;
  char32_t character = lead & (0x7F >> length);
  for (int i = 1; i < length; ++i) {
    const auto next = static_cast<std::uint8_t>(text[at]);
    if ((next & 0xC0) != 0x80) return kNotACharacter;
    character = (character << 6) | (next & 0x3F);
    ++at;
  }
  return character;
}

}  // namespace

std::string NarrowToWindows1251(std::string_view utf8) {
  std::string narrow;
  narrow.reserve(utf8.size());
  for (std::size_t at = 0; at < utf8.size();) {
    const char32_t character = NextCharacter(utf8, at);
    if (character > 0xFFFF) narrow += '?';  // the first of its two units
    narrow += NarrowCharacter(character);
  }
  return narrow;
}

}  // namespace pavok
