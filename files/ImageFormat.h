#pragma once
// The image file formats, one row each: raw bytes, Intel HEX and Motorola
// S-record. A file's format follows its name's extension unless the user
// names one; raw takes every name no other format claims.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "DecodedImage.h"
#include "IntelHex.h"
#include "SRecord.h"

namespace pavok {

enum class ImageFormatId { Raw, IntelHex, SRecord };

// How much of a file its decoder is given.
enum class FileExtent {
  ChipStart,  // the first chipSize bytes; the rest is never read
  WholeText,  // every byte, up to kMaxTextImageFileSize
};

// No text image of a chip comes near this; a larger file is refused
// unread rather than held in memory.
inline constexpr std::size_t kMaxTextImageFileSize = 4 * 1024 * 1024;

struct ImageFormat {
  ImageFormatId id;
  std::string_view name;             // as --format takes it
  std::string_view title;            // as the command line's notes name it
  std::string_view filterText;       // the file dialogs' filter
  std::string_view filterPattern;    // its patterns, ';' between them
  std::string_view saveExtension;    // added to a saved name typed without one
  std::array<std::string_view, 5> extensions;  // lower case, no dot; "" fills (and must be written out)
  FileExtent extent;
  DecodeImageFunction decode;
  EncodeImageFunction encode;
};

// The first chipSize bytes of the file, at addresses 0 and on.
DecodeResult DecodeRaw(std::span<const std::uint8_t> file, std::size_t chipSize);
std::vector<std::uint8_t> EncodeRaw(std::span<const std::uint8_t> chip);

// Raw comes first: the dialogs list its filter first and select it.
inline constexpr std::array<ImageFormat, 3> kImageFormats{{
    {ImageFormatId::Raw, "raw", "raw image", "Прошивки (*.bin)", "*.bin", "bin", {"", "", "", "", ""},
     FileExtent::ChipStart, &DecodeRaw, &EncodeRaw},
    {ImageFormatId::IntelHex, "ihex", "Intel HEX", "Intel HEX (*.hex *.ihx)", "*.hex;*.ihx", "hex",
     {"hex", "ihx", "ihex", "", ""}, FileExtent::WholeText, &DecodeIntelHex, &EncodeIntelHex},
    {ImageFormatId::SRecord, "srec", "Motorola S-record", "Motorola S-record (*.s19 *.srec *.mot)",
     "*.s19;*.srec;*.mot", "s19", {"s19", "srec", "mot", "s28", "s37"}, FileExtent::WholeText, &DecodeSRecord,
     &EncodeSRecord},
}};

// The row of `id`.
const ImageFormat& ImageFormatOf(ImageFormatId id);
// The row --format `name` names, if any.
const ImageFormat* FindImageFormat(std::string_view name);
// `chosen` when given, else the format the extension of `path` names (in
// any case), else raw.
const ImageFormat& ChooseImageFormat(std::string_view path, std::optional<ImageFormatId> chosen);

}  // namespace pavok
