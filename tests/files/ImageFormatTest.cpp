// The image file formats on their own: every kind of good and bad Intel HEX
// and S-record file, made by hand, one table per format; the exact text the
// encoders write; which names take which format.

#include <gtest/gtest.h>

#include <algorithm>

#include <map>

#include "ImageFormat.h"
#include "ImageFormatTexts.h"

namespace pavok::test {
namespace {

using Bytes = std::map<std::uint32_t, std::uint8_t>;  // address -> byte the file gives

struct DecodeCase {
  const char* name;
  std::string text;
  Bytes gives{};                      // when the file is good
  std::optional<ImageFaultAt> fault{};  // when it is not
  std::size_t chipSize = 256;
};

Bytes BytesAt(std::uint32_t address, std::vector<std::uint8_t> values) {
  Bytes bytes;
  for (const std::uint8_t value : values) bytes[address++] = value;
  return bytes;
}

Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(b.begin(), b.end());
  return a;
}

const Bytes kCounting = BytesAt(0, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15});

void ExpectDecodes(DecodeImageFunction decode, const DecodeCase& c) {
  const std::span<const std::uint8_t> file(reinterpret_cast<const std::uint8_t*>(c.text.data()), c.text.size());
  const DecodeResult result = decode(file, c.chipSize);
  EXPECT_EQ(result.fault, c.fault) << c.name;
  if (c.fault) return;
  Bytes given;
  for (std::uint32_t address = 0; address < result.image.bytes.size(); ++address) {
    if (result.image.given[address]) given[address] = result.image.bytes[address];
  }
  EXPECT_EQ(given, c.gives) << c.name;
  EXPECT_EQ(result.image.count, c.gives.size()) << c.name;
}

ImageFaultAt At(int line, ImageFault fault) { return {line, fault}; }

TEST(IntelHex, DecodesGoodFilesAndRefusesBadOnesWithTheirLine) {
  const std::string end = ":00000001FF\n";
  const std::string data = ":10000000000102030405060708090A0B0C0D0E0F78\n";
  for (const DecodeCase& c : std::initializer_list<DecodeCase>{
           {"one record", data + end, kCounting},
           {"records split, out of order, lower case, CRLF, blanks",
            ":04002000deadbeefa4\r\n\r\n:02001000AA55EF  \r\n" + data + end + "\n\n",
            kCounting + BytesAt(0x10, {0xAA, 0x55}) + BytesAt(0x20, {0xDE, 0xAD, 0xBE, 0xEF})},
           {"segment address", ":020000020010EC\n:03000000010203F7\n" + end, BytesAt(0x100, {1, 2, 3}), std::nullopt,
            2048},
           {"linear address 0", ":020000040000FA\n:03000000010203F7\n" + end, BytesAt(0, {1, 2, 3})},
           {"start addresses ignored", ":0400000300000000F9\n:0400000500000100F6\n" + data + end, kCounting},
           {"a byte given twice keeps the later", ":020000000102FB\n:0100010009F5\n" + end, BytesAt(0, {1, 9})},
           {"offsets wrap within a segment", ":020000020000FC\n:04FFFE0001020304F5\n" + end,
            BytesAt(0xFFFE, {1, 2}) + BytesAt(0, {3, 4}), std::nullopt, 0x10000},
           {"linear offsets do not wrap", ":020000040000FA\n:04FFFE0001020304F5\n" + end, {},
            At(2, ImageFault::BeyondChip), 0x10000},
           {"bad checksum", data + ":02001000AA55EE\n" + end, {}, At(2, ImageFault::BadChecksum)},
           {"no colon", data + "02001000AA55EF\n" + end, {}, At(2, ImageFault::MissingColon)},
           {"not a hex digit", ":02001000AG55EF\n" + end, {}, At(1, ImageFault::BadCharacter)},
           {"odd digit count", ":02001000AA55E\n" + end, {}, At(1, ImageFault::OddDigitCount)},
           {"length byte too large", ":03001000AA55EE\n" + end, {}, At(1, ImageFault::BadLength)},
           {"shorter than any record", ":00000001\n", {}, At(1, ImageFault::BadLength)},
           {"a line far too long", ":FF000000" + std::string(600, '0') + "\n" + end, {}, At(1, ImageFault::BadLength)},
           {"unknown record type", data + ":00000006FA\n" + end, {}, At(2, ImageFault::UnknownType)},
           {"end record with data", data + ":0100000101FD\n", {}, At(2, ImageFault::BadLength)},
           {"address record of one byte", ":0100000401FA\n" + data + end, {}, At(1, ImageFault::BadLength)},
           {"past a C02", data + ":1000F800000102030405060708090A0B0C0D0E0F80\n" + end, {},
            At(2, ImageFault::BeyondChip)},
           {"linear address 1", ":020000040001F9\n" + data + end, {}, At(2, ImageFault::BeyondChip)},
           {"top of the 32-bit space", ":02000004FFFFFC\n:02FFFF000102FD\n" + end, {}, At(2, ImageFault::BeyondChip)},
           {"data after the end", data + end + "\n" + data, {}, At(4, ImageFault::AfterEnd)},
           {"no end record", data + "\n", {}, At(2, ImageFault::NoEnd)},
           {"no data records", ":020000040000FA\r\n" + end, {}, At(2, ImageFault::NoData)},
           {"empty file", "", {}, At(1, ImageFault::NoData)},
           {"a raw image named .hex", std::string("\x00\x01\xFF", 3), {}, At(1, ImageFault::MissingColon)},
       }) {
    ExpectDecodes(&DecodeIntelHex, c);
  }
}

TEST(SRecord, DecodesGoodFilesAndRefusesBadOnesWithTheirLine) {
  const std::string header = "S006000043303254\n";
  const std::string data = "S1130000000102030405060708090A0B0C0D0E0F74\n";
  const std::string end = "S9030000FC\n";
  for (const DecodeCase& c : std::initializer_list<DecodeCase>{
           {"header, data, end", header + data + end, kCounting},
           {"16-, 24- and 32-bit addresses, lower case, CRLF, a count",
            "S206000020dead4e\r\nS30700000030BEEF1B\r\n\r\nS1050010AA55EB\r\n" + data +
                "S5030004F8\r\nS70500000000FA\r\n",
            kCounting + BytesAt(0x10, {0xAA, 0x55}) + BytesAt(0x20, {0xDE, 0xAD}) + BytesAt(0x30, {0xBE, 0xEF})},
           {"24-bit count and end", data + "S604000001FA\nS804000000FB\n", kCounting},
           {"bad checksum", header + "S1130000000102030405060708090A0B0C0D0E0F75\n" + end, {},
            At(2, ImageFault::BadChecksum)},
           {"no S", data + "1050010AA55EB\n" + end, {}, At(2, ImageFault::MissingS)},
           {"reserved S4", "S404000001FA\n" + data + end, {}, At(1, ImageFault::UnknownType)},
           {"no type", "S\n", {}, At(1, ImageFault::UnknownType)},
           {"not a hex digit", "S1050010AA5xEB\n" + end, {}, At(1, ImageFault::BadCharacter)},
           {"odd digit count", "S1050010AA55E\n" + end, {}, At(1, ImageFault::OddDigitCount)},
           {"count byte too small", "S1040010AA55EB\n" + end, {}, At(1, ImageFault::BadLength)},
           {"shorter than its address", "S2030000FC\n" + end, {}, At(1, ImageFault::BadLength)},
           {"a line far too long", "S1FF0000" + std::string(600, '0') + "\n" + end, {}, At(1, ImageFault::BadLength)},
           {"end record with data", data + "S904000001FA\n", {}, At(2, ImageFault::BadLength)},
           {"count of the wrong number", data + "S5030003F9\n" + end, {}, At(2, ImageFault::CountMismatch)},
           {"past a C02", "S11300F8000102030405060708090A0B0C0D0E0F7C\n" + end, {}, At(1, ImageFault::BeyondChip)},
           {"top of the 32-bit space", "S307FFFFFFFF0102F9\n" + end, {}, At(1, ImageFault::BeyondChip)},
           {"data after the end", header + data + end + data, {}, At(4, ImageFault::AfterEnd)},
           {"no end record", header + data, {}, At(3, ImageFault::NoEnd)},
           {"header only", header + end, {}, At(2, ImageFault::NoData)},
           {"empty file", "\r\n", {}, At(1, ImageFault::NoData)},
       }) {
    ExpectDecodes(&DecodeSRecord, c);
  }
}

std::string Text(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

TEST(ImageFormats, EncodersWriteSixteenBytesARecordInUpperCaseWithLF) {
  std::vector<std::uint8_t> chip(20);
  for (std::size_t i = 0; i < chip.size(); ++i) chip[i] = static_cast<std::uint8_t>(i);
  EXPECT_EQ(Text(EncodeIntelHex(chip)),
            ":10000000000102030405060708090A0B0C0D0E0F78\n"
            ":0400100010111213A6\n"
            ":00000001FF\n");
  EXPECT_EQ(Text(EncodeSRecord(chip)),
            "S0030000FC\n"
            "S1130000000102030405060708090A0B0C0D0E0F74\n"
            "S107001010111213A2\n"
            "S9030000FC\n");
  // The header names the chip type the image is of.
  const std::string c02 = Text(EncodeSRecord(std::vector<std::uint8_t>(256)));
  EXPECT_TRUE(c02.starts_with("S006000043303254\n"));
  // A real chip's size ends with its last full record: no empty one after it.
  EXPECT_EQ(std::count(c02.begin(), c02.end(), '\n'), 1 + 16 + 1);
  const std::string hex = Text(EncodeIntelHex(std::vector<std::uint8_t>(256)));
  EXPECT_EQ(std::count(hex.begin(), hex.end(), '\n'), 16 + 1);
  EXPECT_EQ(EncodeRaw(chip), chip);
}

TEST(ImageFormats, TheExtensionChoosesUnlessAFormatIsNamed) {
  struct Case {
    const char* path;
    std::optional<ImageFormatId> chosen;
    ImageFormatId format;
  };
  for (const Case& c : {
           Case{"a.hex", std::nullopt, ImageFormatId::IntelHex},
           Case{"dir/A.HEX", std::nullopt, ImageFormatId::IntelHex},
           Case{"a.iHex", std::nullopt, ImageFormatId::IntelHex},
           Case{"a.s19", std::nullopt, ImageFormatId::SRecord},
           Case{"a.MOT", std::nullopt, ImageFormatId::SRecord},
           Case{"a.s37", std::nullopt, ImageFormatId::SRecord},
           Case{"a.bin", std::nullopt, ImageFormatId::Raw},
           Case{".hex", std::nullopt, ImageFormatId::Raw},
           Case{"a.hex/image", std::nullopt, ImageFormatId::Raw},
           Case{"C:\\images\\A.S19", std::nullopt, ImageFormatId::SRecord},
           Case{"a.hex", ImageFormatId::Raw, ImageFormatId::Raw},
           Case{"a.txt", ImageFormatId::SRecord, ImageFormatId::SRecord},
       }) {
    EXPECT_EQ(ChooseImageFormat(c.path, c.chosen).id, c.format) << c.path;
  }
  EXPECT_EQ(FindImageFormat("ihex")->id, ImageFormatId::IntelHex);
  EXPECT_EQ(FindImageFormat("srec")->id, ImageFormatId::SRecord);
  EXPECT_EQ(FindImageFormat("raw")->id, ImageFormatId::Raw);
  EXPECT_EQ(FindImageFormat("hex"), nullptr);
}

TEST(ImageFormats, FaultMessagesNameTheLine) {
  EXPECT_EQ(ImageFaultMessage({12, ImageFault::BadChecksum}), "Ошибка в строке 12 файла: неверная контрольная сумма");
  EXPECT_EQ(ImageFaultMessage({1, ImageFault::NoData}), "Ошибка в строке 1 файла: в файле нет данных");
}

}  // namespace
}  // namespace pavok::test
