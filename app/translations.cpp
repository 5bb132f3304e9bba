#include "app/translations.h"

#include "app/settingsstore.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

namespace kelvoro {

namespace {

struct Installed {
    QPointer<QTranslator> own;
    QPointer<QTranslator> qt;
    UiLanguage language = UiLanguage::Japanese;
    bool applied = false;
};

Installed& installed() {
    static Installed state;
    return state;
}

// Owned by the application object, so the translators go with it.
QTranslator* install(const QString& name, const QString& directory) {
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(name, directory) && QCoreApplication::installTranslator(translator))
        return translator;
    delete translator;
    return nullptr;
}

} // namespace

void applyLanguage(UiLanguage language) {
    Installed& state = installed();
    if (state.applied && state.language == language)
        return;
    for (QTranslator* translator : {state.own.data(), state.qt.data()}) {
        if (translator) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
    }
    const QString qtDirectory = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (language == UiLanguage::English) {
        state.own = install(QStringLiteral("kelvoro_en"), QStringLiteral(":/i18n"));
        state.qt = install(QStringLiteral("qtbase_en"), qtDirectory);
    } else {
        state.qt = install(QStringLiteral("qtbase_ja"), qtDirectory);
    }
    state.language = language;
    state.applied = true;
}

UiLanguage appliedLanguage() {
    return installed().language;
}

void applyChosenLanguage(const SettingsStore& settings) {
    applyLanguage(chooseLanguage(settings.languageChoice(), LocaleEnvironment::current()));
}

} // namespace kelvoro
