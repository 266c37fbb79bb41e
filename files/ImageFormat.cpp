#include "ImageFormat.h"

#include <algorithm>
#include <filesystem>
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

std::string LowerCaseExtension(std::string_view path) {
  std::string extension = std::filesystem::path(path).extension().string();
  if (!extension.empty()) extension.erase(0, 1);
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
