#include "app/cli/language.h"

#include "app/translations.h"

#include <QCoreApplication>
#include <QTranslator>

namespace kelvoro::cli {

void applyToolLanguage(UiLanguage language) {
    // The window's translators first: the shared texts and Qt's own (regular expression errors).
    applyLanguage(language);
    if (language != UiLanguage::English)
        return;
    auto* own = new QTranslator(QCoreApplication::instance());
    if (!own->load(QStringLiteral("kelvoro-cli_en"), QStringLiteral(":/i18n")) ||
        !QCoreApplication::installTranslator(own))
        delete own;
}

} // namespace kelvoro::cli
