#include "common/uilanguage.h"

#include <QStringList>

namespace kelvoro {

namespace {

// "ja_JP.UTF-8@euro" → "ja"; "C.UTF-8" → "c".
QString languageCode(const QString& locale) {
    qsizetype end = 0;
    while (end < locale.size() && locale[end] != u'_' && locale[end] != u'-' &&
           locale[end] != u'.' && locale[end] != u'@')
        ++end;
    return locale.left(end).toLower();
}

// The untranslated texts: the locale of a session that asks for no language.
bool isPlainLocale(const QString& locale) {
    const QString code = languageCode(locale);
    return code.isEmpty() || code == u"c" || code == u"posix";
}

} // namespace

LocaleEnvironment LocaleEnvironment::current() {
    return {qEnvironmentVariable("LANGUAGE"), qEnvironmentVariable("LC_ALL"),
            qEnvironmentVariable("LC_MESSAGES"), qEnvironmentVariable("LANG")};
}

UiLanguage sessionLanguage(const LocaleEnvironment& e) {
    const QString& messages = !e.lcAll.isEmpty()        ? e.lcAll
                              : !e.lcMessages.isEmpty() ? e.lcMessages
                                                        : e.lang;
    // As gettext does, LANGUAGE counts only in a session that has a locale of its own.
    if (isPlainLocale(messages))
        return UiLanguage::Japanese;
    QString first = messages;
    for (const QString& entry : e.language.split(u':', Qt::SkipEmptyParts)) {
        first = entry;
        break;
    }
    return isPlainLocale(first) || languageCode(first) == u"ja" ? UiLanguage::Japanese
                                                                : UiLanguage::English;
}

UiLanguage chooseLanguage(LanguageChoice choice, const LocaleEnvironment& environment) {
    switch (choice) {
    case LanguageChoice::Japanese:
        return UiLanguage::Japanese;
    case LanguageChoice::English:
        return UiLanguage::English;
    case LanguageChoice::System:
        break;
    }
    return sessionLanguage(environment);
}

QString languageChoiceKey(LanguageChoice choice) {
    switch (choice) {
    case LanguageChoice::Japanese:
        return QStringLiteral("ja");
    case LanguageChoice::English:
        return QStringLiteral("en");
    case LanguageChoice::System:
        break;
    }
    return QStringLiteral("system");
}

LanguageChoice languageChoiceFromKey(const QString& key) {
    if (key == u"ja")
        return LanguageChoice::Japanese;
    if (key == u"en")
        return LanguageChoice::English;
    return LanguageChoice::System;
}

} // namespace kelvoro
