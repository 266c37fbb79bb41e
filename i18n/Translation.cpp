#include "Translation.h"

#include <cstdlib>
#include <vector>

#include "Catalogues.h"
#include "MoCatalogue.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace pavok {

namespace {

constexpr std::string_view kOriginal = "ru";
constexpr std::string_view kFallback = "en";  // for a language without a catalogue

// The original, then every catalogue the build embedded.
const std::vector<Language>& AllLanguages() {
  static const std::vector<Language> languages = [] {
    std::vector<Language> all{{kOriginal, {}}};
    for (const Language& language : BuiltInCatalogues()) all.push_back(language);
    return all;
  }();
  return languages;
}

struct Selection {
  std::string_view code = kOriginal;
  TextTable texts;
};

Selection& Selected() {
  static Selection selection;
  return selection;
}

// "de_AT.UTF-8" → "de"; "C" and "POSIX" are the original.
std::string_view LanguageOfLocale(std::string_view locale) {
  locale = locale.substr(0, locale.find_first_of("_.@"));
  if (locale.empty() || locale == "C" || locale == "POSIX") return kOriginal;
  const Language* language = FindLanguage(locale);
  return language != nullptr ? language->code : kFallback;
}

// The first entry of a LANGUAGE list that has a catalogue; otherwise the
// first entry decides, as a single locale would.
std::string_view LanguageOfList(std::string_view list) {
  for (std::string_view rest = list; !rest.empty();) {
    const std::size_t colon = rest.find(':');
    const std::string_view entry = rest.substr(0, colon);
    if (const Language* language = FindLanguage(entry.substr(0, entry.find_first_of("_.@")))) return language->code;
    rest = colon == std::string_view::npos ? std::string_view{} : rest.substr(colon + 1);
  }
  return LanguageOfLocale(list.substr(0, list.find(':')));
}

}  // namespace

std::span<const Language> Languages() { return AllLanguages(); }

const Language* FindLanguage(std::string_view code) {
  for (const Language& language : Languages()) {
    if (language.code == code) return &language;
  }
  return nullptr;
}

std::string_view LanguageFromSettings(const EnvironmentLookup& lookup) {
  if (const char* list = lookup("LANGUAGE"); list != nullptr && *list != '\0') return LanguageOfList(list);
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    if (const char* locale = lookup(name); locale != nullptr && *locale != '\0') return LanguageOfLocale(locale);
  }
  return kOriginal;
}

std::string_view UserLanguage() {
#ifdef _WIN32
  constexpr LANGID kRussian = 0x19;  // the primary language of every Russian locale
  return PRIMARYLANGID(GetUserDefaultUILanguage()) == kRussian ? kOriginal : kFallback;
#else
  return LanguageFromSettings([](const char* name) { return std::getenv(name); });
#endif
}

bool SelectLanguage(std::string_view code) {
  const Language* language = FindLanguage(code);
  if (language == nullptr) return false;
  Selection& selected = Selected();
  selected.code = language->code;
  selected.texts.clear();
  if (!language->catalogue.empty()) {
    if (auto texts = ReadMoCatalogue(language->catalogue)) selected.texts = std::move(*texts);
  }
  return true;
}

std::string_view SelectedLanguage() { return Selected().code; }

std::string Tr(std::string_view original) {
  const TextTable& texts = Selected().texts;
  const auto found = texts.find(original);
  return found != texts.end() ? found->second : std::string(original);
}

std::string FormatText(std::string_view pattern, std::initializer_list<std::string_view> arguments) {
  std::string text;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
    const auto index = static_cast<std::size_t>(next - '1');
    if (pattern[i] == '%' && next >= '1' && next <= '9' && index < arguments.size()) {
      text += *(arguments.begin() + index);
      ++i;
    } else {
      text += pattern[i];
    }
  }
  return text;
}

}  // namespace pavok
