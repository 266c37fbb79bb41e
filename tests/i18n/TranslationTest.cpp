// The catalogues as the programs embed them, the choice of language, and
// the source's texts against the catalogue.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "MoCatalogue.h"
#include "Translation.h"

namespace pavok {

namespace {

std::multiset<std::string> Placeholders(const std::string& text) {
  std::multiset<std::string> found;
  const std::regex placeholder("%[1-9]");
  for (auto it = std::sregex_iterator(text.begin(), text.end(), placeholder); it != std::sregex_iterator(); ++it) {
    found.insert(it->str());
  }
  return found;
}

struct LanguageReset {
  ~LanguageReset() { SelectLanguage("ru"); }
};

// Every text of every catalogue: translated, with the original's
// placeholders, and shown in its language only; the original language shows
// the source's text.
TEST(TranslationTest, EveryCatalogueTranslatesEachOfItsTexts) {
  const LanguageReset reset;
  for (const Language& language : Languages()) {
    if (language.catalogue.empty()) continue;
    const std::optional<TextTable> texts = ReadMoCatalogue(language.catalogue);
    ASSERT_TRUE(texts.has_value()) << language.code;
    EXPECT_GT(texts->size(), 50u) << language.code;
    for (const auto& [original, translated] : *texts) {
      SCOPED_TRACE(std::string(language.code) + ": " + original);
      EXPECT_EQ(Placeholders(original), Placeholders(translated));
      ASSERT_TRUE(SelectLanguage(language.code));
      EXPECT_EQ(Tr(original), translated);
      ASSERT_TRUE(SelectLanguage("ru"));
      EXPECT_EQ(Tr(original), original);
    }
  }
}

// A catalogue cut short or overwritten is no catalogue: the originals stay.
TEST(TranslationTest, DamagedCatalogueIsRefusedWhole) {
  const std::span<const std::uint8_t> english = FindLanguage("en")->catalogue;
  std::vector<std::uint8_t> overwritten(english.begin(), english.end());
  std::fill(overwritten.begin() + 28, overwritten.begin() + 60, 0xff);
  EXPECT_FALSE(ReadMoCatalogue(english.first(english.size() / 2)).has_value());
  EXPECT_FALSE(ReadMoCatalogue(overwritten).has_value());
  EXPECT_FALSE(ReadMoCatalogue(std::span<const std::uint8_t>()).has_value());
}

TEST(TranslationTest, LanguageFromTheUsersSettings) {
  const struct {
    std::map<std::string, std::string> environment;
    std::string_view language;
  } cases[] = {
      {{}, "ru"},
      {{{"LANG", "C"}}, "ru"},
      {{{"LANG", "POSIX"}}, "ru"},
      {{{"LANG", "C.UTF-8"}}, "ru"},
      {{{"LANG", "ru_RU.UTF-8"}}, "ru"},
      {{{"LANG", "en_GB.UTF-8"}}, "en"},
      {{{"LANG", "de_DE@euro"}}, "en"},
      {{{"LC_MESSAGES", "fr_FR.UTF-8"}, {"LANG", "ru_RU.UTF-8"}}, "en"},
      {{{"LC_ALL", "ru_UA"}, {"LC_MESSAGES", "en_US"}}, "ru"},
      {{{"LANGUAGE", "de:ru"}, {"LC_ALL", "en_US"}}, "ru"},
      {{{"LANGUAGE", "de:fr"}, {"LC_ALL", "ru_RU"}}, "en"},
      {{{"LANGUAGE", ""}, {"LANG", "en_US"}}, "en"},
  };
  for (const auto& c : cases) {
    const auto lookup = [&c](const char* name) -> const char* {
      const auto found = c.environment.find(name);
      return found == c.environment.end() ? nullptr : found->second.c_str();
    };
    EXPECT_EQ(LanguageFromSettings(lookup), c.language) << testing::PrintToString(c.environment);
  }
}

// The source without its comments, which quote texts as they are shown.
std::string WithoutComments(const std::string& source) {
  std::string code;
  char quote = 0;
  for (std::size_t i = 0; i < source.size(); ++i) {
    const char c = source[i];
    if (quote != 0) {
      code += c;
      if (c == '\\' && i + 1 < source.size()) code += source[++i];
      else if (c == quote) quote = 0;
    } else if (source.compare(i, 2, "//") == 0) {
      i = std::min(source.find('\n', i), source.size()) - 1;
    } else if (source.compare(i, 2, "/*") == 0) {
      i = std::min(source.find("*/", i + 2), source.size() - 2) + 1;
    } else {
      if (c == '"' || c == '\'') quote = c;
      code += c;
    }
  }
  return code;
}

// Texts in string literals of the source that a user reads: those that carry
// Cyrillic letters, the original language, and in the command line's own
// files, written in English, those of three words or more.
std::set<std::string> ShownLiterals(const std::filesystem::path& file, bool english) {
  std::ifstream in(file);
  std::stringstream content;
  content << in.rdbuf();
  // Literals side by side are one text.
  const std::string text = std::regex_replace(WithoutComments(content.str()), std::regex(R"("\s+")"), "");
  std::set<std::string> literals;
  const std::regex literal(R"re("((?:[^"\\\n]|\\.)*)")re");
  const std::regex words("[A-Za-z]+ [A-Za-z]+ [A-Za-z]+");
  for (auto it = std::sregex_iterator(text.begin(), text.end(), literal); it != std::sregex_iterator(); ++it) {
    std::string value = std::regex_replace((*it)[1].str(), std::regex(R"(\\n)"), "\n");
    value = std::regex_replace(value, std::regex(R"(\\")"), "\"");
    if (value.find("\xd0") != std::string::npos || value.find("\xd1") != std::string::npos ||
        (english && std::regex_search(value, words))) {
      literals.insert(value);
    }
  }
  return literals;
}

// A text the source shows that the catalogue lacks would stay as written in
// every other language. The answers a question takes are typed, not shown.
TEST(TranslationTest, EveryShownTextOfTheSourceIsInTheCatalogue) {
  const std::set<std::string> typedAnswers{"д", "да", "Д", "Да", "ДА"};
  const TextTable english = *ReadMoCatalogue(FindLanguage("en")->catalogue);
  const std::filesystem::path top(PAVOK_SOURCE_DIR);
  int files = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(top)) {
    const std::filesystem::path& path = entry.path();
    const std::string relative = path.lexically_relative(top).generic_string();
    if (relative.starts_with("tests/") || relative.starts_with("build") || relative.starts_with(".")) continue;
    if (path.extension() != ".cpp" && path.extension() != ".h") continue;
    ++files;
    for (const std::string& literal : ShownLiterals(path, relative.starts_with("app/"))) {
      if (typedAnswers.contains(literal)) continue;
      EXPECT_TRUE(english.contains(literal)) << relative << ": \"" << literal << "\" is not in po/pavok.pot";
    }
  }
  EXPECT_GT(files, 50);
}

TEST(TranslationTest, PlaceholdersTakeTheirArgumentsInAnyOrder) {
  EXPECT_EQ(FormatText("%2 of %1, %1", {"a", "b"}), "b of a, a");
  EXPECT_EQ(FormatText("100% %3", {"a"}), "100% %3");
}

}  // namespace

}  // namespace pavok
