#pragma once
// The fixed-width, upper-case hex texts of the main window, and the parsers
// for what a user types. Texts are one byte per character (Windows-1251 on
// the way in), so a byte with the high bit set is never a hex digit.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace pavok {

inline constexpr std::size_t kAddressTextLength = 4;
inline constexpr std::size_t kHexLineLength = 53;
inline constexpr std::size_t kEditLineLength = 47;
inline constexpr std::size_t kEditLineOffset = 6;  // where the bytes start in a view line

inline constexpr std::string_view kColumnHeader =
    "      00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F";

using LineBytes = std::array<std::uint8_t, 16>;

// Parse errors: the text has the wrong length, or the character at a
// zero-based position is no hex digit.
struct WrongLength {
  bool operator==(const WrongLength&) const = default;
};
struct BadCharacter {
  int position;
  bool operator==(const BadCharacter&) const = default;
};

using EditLineResult = std::variant<LineBytes, WrongLength, BadCharacter>;
using AddressResult = std::variant<std::uint16_t, WrongLength, BadCharacter>;

// The value 0-15 of a hex digit, or 0xFF for any other character.
std::uint8_t HexDigitValue(char c);
// The upper-case digit of a value 0-15.
char HexDigitChar(std::uint8_t value);

// "07F0" for 0x7F0.
std::string FormatAddress(std::uint16_t address);
// "07F0: FF FF ... FF", 53 characters.
std::string FormatHexLine(std::uint16_t offset, std::span<const std::uint8_t, 16> bytes);

// Sixteen two-digit groups; the separator characters are never examined.
EditLineResult ParseEditLine(std::string_view text);
// Exactly four hex digits.
AddressResult ParseAddress(std::string_view text);

// The user-visible messages for the parse errors.
inline constexpr std::string_view kEditLineLengthMessage =
    "Неверная строка. Два символа на байт, затем пробел... И так 16 раз.";
inline constexpr std::string_view kAddressLengthMessage =
    "Неверная строка. Должно быть четыре шестнадцатиричных символа";
// "Неверная строка. Символ %d ошибочный !" with the position filled in.
std::string BadCharacterMessage(int position);

}  // namespace pavok
