#include "LanguageOption.h"

#include <vector>

#include "OptionValidators.h"
#include "Translation.h"

namespace pavok {

void AddLanguageOption(CLI::App& app, std::string& language) {
  std::vector<std::string> codes;
  for (const Language& known : Languages()) codes.emplace_back(known.code);
  app.add_option("--language", language,
                 "Language of the texts shown, " + ListWithOr(codes) +
                     "; without it the user's settings choose (LANGUAGE, LC_ALL, LC_MESSAGES, LANG)")
      ->type_name("LANGUAGE")
      ->transform(OneOfValidator("a language", codes));
}

void SelectProgramLanguage(const std::string& language) {
  SelectLanguage(language.empty() ? UserLanguage() : std::string_view(language));
}

}  // namespace pavok
