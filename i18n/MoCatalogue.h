#pragma once
// A compiled gettext catalogue (.mo) read into a table of texts: the
// original (msgid) and its translation (msgstr).

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>

namespace pavok {

using TextTable = std::map<std::string, std::string, std::less<>>;

// The entries of a .mo file in either byte order. The header entry (empty
// msgid) and entries without a translation are left out. Nothing when the
// bytes are no .mo file or an offset points outside them: a damaged
// catalogue is no catalogue, never a source of empty or garbled texts.
std::optional<TextTable> ReadMoCatalogue(std::span<const std::uint8_t> bytes);

}  // namespace pavok
