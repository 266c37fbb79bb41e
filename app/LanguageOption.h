#pragma once
// --language, which both programs take: the language of every text they
// show, whatever the user's settings ask for.

#include <CLI/CLI.hpp>

#include <string>

namespace pavok {

// Adds --language LANGUAGE to `app`; an unknown value is refused with the
// list of languages. `language` keeps what was given, empty when nothing was.
void AddLanguageOption(CLI::App& app, std::string& language);

// Selects `language`, or without one the language of the user's settings.
void SelectProgramLanguage(const std::string& language);

// The value of --language among the arguments, before they are parsed, so
// that the help and the parser's messages are in that language too; empty
// when none is given.
std::string LanguageInArguments(int argc, const char* const argv[]);

}  // namespace pavok
