// The texts a player reads, in the player's language. German is the language the texts are
// written in; English comes from the catalogue compiled from translations/kaperfahrt_en.ts
// and embedded in the program. No Qt header here, so that code outside the launcher can
// word its texts too; it works without a QApplication (--help, a battle without one).
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

#include "settings/language_settings.h"

enum class Language { German, English };

// Reads an environment variable; nullptr when it is not set.
using Environment = std::function<const char*(const char* name)>;

// English when the first of LANGUAGE, LC_ALL, LC_MESSAGES and LANG that is set and not
// empty names English, German otherwise (also for C and POSIX).
Language desktopLanguage(const Environment& environment);
// The stored choice (settings/language_settings.h); anything but German or English means the
// desktop's language.
Language chosenLanguage(int32_t choice, const Environment& environment);
// The process's environment.
Environment processEnvironment();

// The language the texts come out in from now on (German until this is called). Like Qt's
// own translators it holds for the whole process.
void useLanguage(Language language);
Language currentLanguage();

// The text `source` (UTF-8, German) of `context` in the current language, as UTF-8.
std::string translatedText(const char* context, const char* source);
// The text with %1, %2, … replaced by the arguments, which are taken byte for byte (a file
// name need not be UTF-8).
std::string filledIn(const std::string& text, std::initializer_list<std::string_view> arguments);

// Marks a text for the catalogue where it stands in a table; translate it where it is shown.
#define TEXT_NOOP(context, source) source
