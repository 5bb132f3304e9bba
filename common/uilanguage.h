#pragma once

#include <QString>

namespace kelvoro {

// The languages of the interface. Japanese is the language the texts are written in; English
// comes from a translation.
enum class UiLanguage { Japanese, English };

// What the user chose under View > 言語.
enum class LanguageChoice { System, Japanese, English };

// A session's locale variables as the environment gives them; empty when unset.
struct LocaleEnvironment {
    QString language; // LANGUAGE: preferred languages, separated by ':'
    QString lcAll;
    QString lcMessages;
    QString lang;

    static LocaleEnvironment current();
};

// The session's language: Japanese when its message locale (LC_ALL, else LC_MESSAGES, else
// LANG) is C, POSIX or unset, or when its first UI language (LANGUAGE, else that locale) is
// Japanese; English otherwise.
UiLanguage sessionLanguage(const LocaleEnvironment& environment);
UiLanguage chooseLanguage(LanguageChoice choice, const LocaleEnvironment& environment);

// The choice as stored in the settings ("system", "ja", "en"); anything else reads as System.
QString languageChoiceKey(LanguageChoice choice);
LanguageChoice languageChoiceFromKey(const QString& key);

} // namespace kelvoro
