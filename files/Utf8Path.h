#pragma once
// File names travel through the program as UTF-8 text (from the file
// dialogs and the command line). These are the only conversions between
// that text and the system's paths, so every system reads a name the same
// way; a plain std::string would be taken in the local code page on Windows.

#include <filesystem>
#include <string>
#include <string_view>

namespace pavok {

inline std::filesystem::path Utf8Path(std::string_view text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

inline std::string Utf8Text(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace pavok
