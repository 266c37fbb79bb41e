#include <gtest/gtest.h>

#include <random>
#include <string>

#include "HexCodec.h"

namespace pavok::test {
namespace {

// Forty-seven characters of sixteen "FF" groups with `separator` between them.
std::string EditLineWith(char separator) {
  std::string text;
  for (int k = 0; k < 16; ++k) {
    if (k > 0) text += separator;
    text += "FF";
  }
  return text;
}

TEST(HexDigitValue, DigitsOfEveryRangeAndTheirNeighbours) {
  struct Case {
    char character;
    std::uint8_t value;
  };
  const Case cases[] = {
      {'0', 0},     {'9', 9},     {'A', 10},    {'F', 15},    {'a', 10},   {'f', 15},   {'7', 7},
      {'c', 12},    {'/', 0xFF},  {':', 0xFF},  {'@', 0xFF},  {'G', 0xFF}, {'`', 0xFF}, {'g', 0xFF},
      {' ', 0xFF},  {'\0', 0xFF}, {',', 0xFF},  {'\x7F', 0xFF},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HexDigitValue(c.character), c.value) << "character 0x" << std::hex << int(c.character);
  }
}

TEST(HexDigitValue, NoByteWithTheHighBitSetIsADigit) {
  // 0xC0-0xFF are the Cyrillic letters of Windows-1251; 0x80-0xBF its other
  // non-ASCII characters. A signed comparison must not let any of them through.
  for (int byte = 0x80; byte <= 0xFF; ++byte) {
    EXPECT_EQ(HexDigitValue(static_cast<char>(byte)), 0xFF) << "byte 0x" << std::hex << byte;
  }
}

TEST(HexDigitChar, EveryValueGivesItsUpperCaseDigit) {
  const std::string digits = "0123456789ABCDEF";
  for (std::uint8_t value = 0; value < 16; ++value) {
    EXPECT_EQ(HexDigitChar(value), digits[value]);
    EXPECT_EQ(HexDigitValue(HexDigitChar(value)), value);
  }
}

TEST(FormatAddress, FourUpperCaseDigitsWithLeadingZeros) {
  EXPECT_EQ(FormatAddress(0), "0000");
  EXPECT_EQ(FormatAddress(0x7F0), "07F0");
  EXPECT_EQ(FormatAddress(0x7FF), "07FF");
  EXPECT_EQ(FormatAddress(0x01A0), "01A0");
  EXPECT_EQ(FormatAddress(0xFFFF), "FFFF");
}

TEST(FormatHexLine, LayoutOfAddressColonAndSixteenGroups) {
  LineBytes bytes{};
  for (std::size_t k = 0; k < bytes.size(); ++k) bytes[k] = static_cast<std::uint8_t>(k * 0x11);
  bytes[15] = 0x0A;
  EXPECT_EQ(FormatHexLine(0x7F0, bytes), "07F0: 00 11 22 33 44 55 66 77 88 99 AA BB CC DD EE 0A");

  LineBytes erased;
  erased.fill(0xFF);
  const std::string line = FormatHexLine(0, erased);
  ASSERT_EQ(line.size(), kHexLineLength);
  EXPECT_EQ(line.substr(0, 6), "0000: ");
  for (std::size_t k = 0; k < 16; ++k) {
    EXPECT_EQ(line.substr(6 + 3 * k, 2), "FF") << k;
    if (k < 15) {
      EXPECT_EQ(line[8 + 3 * k], ' ') << k;
    }
  }
}

TEST(ColumnHeader, EachColumnNumberStandsAboveItsByte) {
  LineBytes bytes{};
  for (std::size_t k = 0; k < bytes.size(); ++k) bytes[k] = static_cast<std::uint8_t>(k);
  // A line whose byte k is k reads like the header in every digit position.
  const std::string line = FormatHexLine(0, bytes);
  ASSERT_EQ(kColumnHeader.size(), line.size());
  EXPECT_EQ(kColumnHeader.substr(6), line.substr(6));
  EXPECT_EQ(kColumnHeader.substr(0, 6), "      ");
}

TEST(ParseEditLine, AcceptedTexts) {
  struct Case {
    std::string text;
    LineBytes bytes;
  };
  const LineBytes ascending{0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77,
                            0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF};
  LineBytes erased;
  erased.fill(0xFF);
  const Case cases[] = {
      {"00 11 22 33 44 55 66 77 88 99 AA BB CC DD EE FF", ascending},
      {"00 11 22 33 44 55 66 77 88 99 aa bb cc dd ee ff", ascending},  // lower case
      {"00,11,22,33,44,55,66,77,88,99,Aa,bB,cc,DD,ee,FF", ascending},  // commas, mixed
      {EditLineWith('\xC6'), erased},                                   // Cyrillic "Ж"
      {EditLineWith('\0'), erased},
      {EditLineWith('G'), erased},
  };
  for (const Case& c : cases) {
    const EditLineResult result = ParseEditLine(c.text);
    ASSERT_TRUE(std::holds_alternative<LineBytes>(result)) << c.text;
    EXPECT_EQ(std::get<LineBytes>(result), c.bytes) << c.text;
  }
}

TEST(ParseEditLine, OnlyExactlyFortySevenCharactersAreLookedAt) {
  const std::string valid = EditLineWith(' ');
  for (const std::string& text : {std::string(), valid.substr(0, 46), valid + " ", valid + "F",
                                  std::string(46, 'x'), std::string(48, '0'), std::string(4, 'F')}) {
    EXPECT_EQ(ParseEditLine(text), EditLineResult{WrongLength{}}) << '"' << text << '"';
  }
}

TEST(ParseEditLine, ReportsTheLeftmostBadDigitPosition) {
  struct Case {
    std::size_t bad;      // position made bad
    std::size_t alsoBad;  // a later bad position, or none
    char character;
    int reported;
  };
  constexpr std::size_t kNone = 99;
  const Case cases[] = {
      {0, kNone, 'G', 0},     {1, kNone, ' ', 1},     {45, kNone, '\xE0', 45}, {46, kNone, '/', 46},
      {3, 46, ':', 3},        {22, 4, '@', 4},        {10, kNone, '\0', 10},   {7, kNone, 'g', 7},
  };
  for (const Case& c : cases) {
    std::string text = EditLineWith(' ');
    text[c.bad] = c.character;
    if (c.alsoBad != kNone) text[c.alsoBad] = 'Z';
    EXPECT_EQ(ParseEditLine(text), EditLineResult{BadCharacter{c.reported}}) << text;
  }
}

TEST(ParseEditLine, UndoesFormatHexLineForRandomLines) {
  std::mt19937 random(20240521);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int round = 0; round < 500; ++round) {
    LineBytes bytes{};
    for (std::uint8_t& b : bytes) b = static_cast<std::uint8_t>(byte(random));
    const auto offset = static_cast<std::uint16_t>(16 * (round % 4096));
    const std::string line = FormatHexLine(offset, bytes);

    const EditLineResult parsed = ParseEditLine(std::string_view(line).substr(kEditLineOffset));
    ASSERT_TRUE(std::holds_alternative<LineBytes>(parsed)) << line;
    EXPECT_EQ(std::get<LineBytes>(parsed), bytes) << line;
    EXPECT_EQ(FormatHexLine(offset, std::get<LineBytes>(parsed)), line);
  }
}

TEST(ParseAddress, UndoesFormatAddressForEveryAddress) {
  for (unsigned address = 0; address <= 0xFFFF; ++address) {
    const auto value = static_cast<std::uint16_t>(address);
    const AddressResult parsed = ParseAddress(FormatAddress(value));
    ASSERT_EQ(parsed, AddressResult{value}) << address;
  }
}

TEST(ParseAddress, LengthAndBadCharacters) {
  struct Case {
    std::string text;
    AddressResult result;
  };
  const Case cases[] = {
      {"07ff", AddressResult{std::uint16_t{0x7FF}}},
      {"aBcD", AddressResult{std::uint16_t{0xABCD}}},
      {"", WrongLength{}},
      {"7FF", WrongLength{}},  // three digits are not an address
      {"007FF", WrongLength{}},
      {"G7FF", BadCharacter{0}},
      {"0 FF", BadCharacter{1}},
      {"07\xD0" "F", BadCharacter{2}},
      {"07FZ", BadCharacter{3}},
      {"0XYZ", BadCharacter{1}},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseAddress(c.text), c.result) << '"' << c.text << '"';
}

TEST(BadCharacterMessage, CarriesThePosition) {
  EXPECT_EQ(BadCharacterMessage(0), "Неверная строка. Символ 0 ошибочный !");
  EXPECT_EQ(BadCharacterMessage(46), "Неверная строка. Символ 46 ошибочный !");
}

}  // namespace
}  // namespace pavok::test
