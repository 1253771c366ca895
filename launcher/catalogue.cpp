#include "launcher/catalogue.h"

#include <QDir>  // Q_INIT_RESOURCE
#include <QString>
#include <QTranslator>
#include <cstdlib>
#include <string_view>

#include "launcher/translated.h"

namespace {

// The process's language, like Qt's installed translators: one for every window and message,
// set at start-up and when the player chooses another.
struct Catalogue {
  Language language = Language::German;
  QTranslator english;
  bool loaded = false;
};

Catalogue& catalogue() {
  static Catalogue instance;
  return instance;
}

// "en", "en_GB.UTF-8", "en@quot": English; "de_DE", "C", "POSIX", "eo": not.
bool namesEnglish(std::string_view locale) {
  return locale.starts_with("en") &&
         (locale.size() == 2 || locale[2] == '_' || locale[2] == '.' || locale[2] == '@');
}

}  // namespace

Language desktopLanguage(const Environment& environment) {
  for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = environment(name);
    if (value == nullptr || *value == '\0') continue;
    std::string_view first(value);
    first = first.substr(0, first.find(':'));  // LANGUAGE lists languages by preference
    return namesEnglish(first) ? Language::English : Language::German;
  }
  return Language::German;
}

Language chosenLanguage(int32_t choice, const Environment& environment) {
  if (choice == kLanguageGerman) return Language::German;
  if (choice == kLanguageEnglish) return Language::English;
  return desktopLanguage(environment);
}

Environment processEnvironment() {
  return [](const char* name) { return std::getenv(name); };
}

void useLanguage(Language language) {
  Catalogue& c = catalogue();
  if (language == Language::English && !c.loaded) {
    Q_INIT_RESOURCE(kaperfahrt_catalogue);
    c.loaded = c.english.load(QStringLiteral(":/i18n/kaperfahrt_en.qm"));
  }
  c.language = c.loaded ? language : Language::German;
}

Language currentLanguage() { return catalogue().language; }

QString translated(const char* context, const char* source) {
  const Catalogue& c = catalogue();
  if (c.language == Language::English) {
    QString text = c.english.translate(context, source);
    if (!text.isEmpty()) return text;
  }
  return QString::fromUtf8(source);
}

std::string translatedText(const char* context, const char* source) {
  if (catalogue().language == Language::German) return source;  // the bytes as written
  return translated(context, source).toStdString();
}

std::string filledIn(const std::string& text, std::initializer_list<std::string_view> arguments) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const size_t n =
        i + 1 < text.size() ? static_cast<size_t>(text[i + 1] - '1') : arguments.size();
    if (text[i] == '%' && n < arguments.size()) {
      out += arguments.begin()[n];
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}
