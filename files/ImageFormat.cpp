#include "ImageFormat.h"

#include <algorithm>
#include <string>

namespace pavok {

namespace {

// Every extension names one format, and each row's id is its index.
constexpr bool ExtensionsAndIdsAreUnique() {
  for (std::size_t i = 0; i < kImageFormats.size(); ++i) {
    if (static_cast<std::size_t>(kImageFormats[i].id) != i) return false;
    for (const std::string_view extension : kImageFormats[i].extensions) {
      for (std::size_t j = i + 1; j < kImageFormats.size(); ++j) {
        const auto& others = kImageFormats[j].extensions;
        if (!extension.empty() && std::find(others.begin(), others.end(), extension) != others.end()) return false;
      }
    }
  }
  return kImageFormats[0].id == ImageFormatId::Raw;
}
static_assert(ExtensionsAndIdsAreUnique());

// What follows the last dot of the file's name, unless the name starts with
// its only dot (".hex" is a hidden file without extension). Either slash
// ends a folder's name, as on Windows.
std::string LowerCaseExtension(std::string_view path) {
  const std::size_t nameStart = path.find_last_of("/\\") + 1;  // 0 when there is no folder
  const std::size_t dot = path.rfind('.');
  if (dot == std::string_view::npos || dot <= nameStart) return {};
  std::string extension(path.substr(dot + 1));
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
  return extension;
}

}  // namespace

DecodeResult DecodeRaw(std::span<const std::uint8_t> file, std::size_t chipSize) {
  DecodeResult result{DecodedImage(chipSize), std::nullopt};
  result.image.Put(0, file.first(std::min(file.size(), chipSize)));
  return result;
}

std::vector<std::uint8_t> EncodeRaw(std::span<const std::uint8_t> chip) { return {chip.begin(), chip.end()}; }

const ImageFormat& ImageFormatOf(ImageFormatId id) { return kImageFormats[static_cast<std::size_t>(id)]; }

const ImageFormat* FindImageFormat(std::string_view name) {
  const auto row = std::find_if(kImageFormats.begin(), kImageFormats.end(),
                                [name](const ImageFormat& format) { return format.name == name; });
  return row == kImageFormats.end() ? nullptr : &*row;
}

const ImageFormat& ChooseImageFormat(std::string_view path, std::optional<ImageFormatId> chosen) {
  if (chosen) return ImageFormatOf(*chosen);
  const std::string extension = LowerCaseExtension(path);
  const auto row = std::find_if(kImageFormats.begin(), kImageFormats.end(), [&extension](const ImageFormat& format) {
    return !extension.empty() &&
           std::find(format.extensions.begin(), format.extensions.end(), extension) != format.extensions.end();
  });
  return row == kImageFormats.end() ? kImageFormats[0] : *row;
}

}  // namespace pavok
