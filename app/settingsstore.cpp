#include "app/settingsstore.h"

namespace kelvoro {

namespace {

constexpr int kRecentFiles = 4;
const QString kRecentSection = QStringLiteral("Recent File List");
const QString kLanguageKey = QStringLiteral("Interface/language");

QString recentKey(int i) {
    return kRecentSection + QStringLiteral("/File%1").arg(i + 1);
}

} // namespace

SettingsStore::SettingsStore()
    : m_settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Hollenby"),
                 QStringLiteral("Kelvoro")) {}

int SettingsStore::getProfileInt(const QString& section, const QString& key, int fallback) const {
    bool ok = false;
    const int value = m_settings.value(section + QLatin1Char('/') + key).toInt(&ok);
    return ok ? value : fallback;
}

void SettingsStore::writeProfileInt(const QString& section, const QString& key, int value) {
    m_settings.setValue(section + QLatin1Char('/') + key, value);
}

QList<QByteArray> SettingsStore::recentFiles() const {
    QList<QByteArray> files;
    for (int i = 0; i < kRecentFiles; ++i) {
        const QByteArray path = m_settings.value(recentKey(i)).toByteArray();
        if (!path.isEmpty())
            files.append(path);
    }
    return files;
}

void SettingsStore::addRecentFile(const QByteArray& path) {
    QList<QByteArray> files = recentFiles();
    files.removeAll(path);
    files.prepend(path);
    for (int i = 0; i < kRecentFiles; ++i) {
        if (i < files.size())
            m_settings.setValue(recentKey(i), files.at(i));
        else
            m_settings.remove(recentKey(i));
    }
}

LanguageChoice SettingsStore::languageChoice() const {
    return languageChoiceFromKey(m_settings.value(kLanguageKey).toString());
}

void SettingsStore::setLanguageChoice(LanguageChoice choice) {
    m_settings.setValue(kLanguageKey, languageChoiceKey(choice));
}

} // namespace kelvoro
