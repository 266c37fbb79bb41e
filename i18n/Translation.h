#pragma once
// The language the programs speak and the lookup of their texts in it.
//
// Every user-visible text is written in the source as it always was, in
// Russian, and passed through Tr() where it is shown (the window helpers, the
// dialog's captions) or put together (FormatText over a translated pattern). The original is the key into the selected
// language's catalogue; a text the catalogue lacks, and every text in the
// original language, comes out as written.

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace pavok {

struct Language {
  std::string_view code;                    // what --language takes: "ru"
  std::span<const std::uint8_t> catalogue;  // compiled .mo; empty for the original
};

// The languages built in, the original first.
std::span<const Language> Languages();
const Language* FindLanguage(std::string_view code);

// The language the user's settings ask for: the first of LANGUAGE (a list,
// "de:en"), LC_ALL, LC_MESSAGES and LANG that is set, by the code in front
// of "_", "." or "@". The original when that is Russian, C or POSIX, or when
// none is set; English for a language without a catalogue. On Windows the
// user's interface language decides.
using EnvironmentLookup = std::function<const char*(const char*)>;
std::string_view LanguageFromSettings(const EnvironmentLookup& lookup);
std::string_view UserLanguage();

// Selects the language of every text shown from now on. A catalogue that
// cannot be read leaves the original texts. False for an unknown code.
bool SelectLanguage(std::string_view code);
std::string_view SelectedLanguage();

// `original` in the selected language.
std::string Tr(std::string_view original);

// `pattern` with %1 ... %9 replaced by the arguments in that order; a
// translation may place them differently.
std::string FormatText(std::string_view pattern, std::initializer_list<std::string_view> arguments);

}  // namespace pavok
