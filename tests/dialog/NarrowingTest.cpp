// Typed text to the Windows-1251 bytes the hex codec reads: one byte per
// character the field shows, and never a stray hex digit.

#include <gtest/gtest.h>

#include "HexCodec.h"
#include "Narrowing.h"

namespace pavok::test {

TEST(NarrowingTest, OneBytePerCharacterAndNoStrayDigits) {
  EXPECT_EQ(NarrowToWindows1251("0aF Ж,ё"), "0aF \xC6,\xB8");
  // Fullwidth digits, a letter outside the code page and a character of two
  // UTF-16 units: each unit one '?', never a hex digit. So is a broken byte.
  const std::string narrow = NarrowToWindows1251("\uFF10\uFF21中😀\xD0");
  EXPECT_EQ(narrow, "??????");
  for (const char character : narrow) EXPECT_EQ(HexDigitValue(character), 0xFF);
}

}  // namespace pavok::test
