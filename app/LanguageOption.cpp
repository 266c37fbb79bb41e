#include "LanguageOption.h"

#include <vector>

#include "OptionValidators.h"
#include "Translation.h"

namespace pavok {

void AddLanguageOption(CLI::App& app, std::string& language) {
  std::vector<std::string> codes;
  for (const Language& known : Languages()) codes.emplace_back(known.code);
  app.add_option("--language", language,
                 FormatText(Tr("Language of the texts shown, %1; without it the user's settings choose (LANGUAGE, "
                               "LC_ALL, LC_MESSAGES, LANG)"),
                            {ListWithOr(codes)}))
      ->type_name("LANGUAGE")
      ->transform(OneOfValidator(Tr("a language"), codes));
}

void SelectProgramLanguage(const std::string& language) {
  if (language.empty() || !SelectLanguage(language)) SelectLanguage(UserLanguage());
}

std::string LanguageInArguments(int argc, const char* const argv[]) {
  constexpr std::string_view kOption = "--language";
  for (int i = 1; i < argc; ++i) {
    const std::string_view word = argv[i];
    if (word == kOption && i + 1 < argc) return argv[i + 1];
    if (word.starts_with(kOption) && word.substr(kOption.size()).starts_with('=')) {
      return std::string(word.substr(kOption.size() + 1));
    }
  }
  return {};
}

}  // namespace pavok
