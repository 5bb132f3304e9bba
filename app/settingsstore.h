#pragma once

#include "common/uilanguage.h"

#include <QByteArray>
#include <QList>
#include <QSettings>
#include <QString>

namespace kelvoro {

// The per-user settings: window placement, the recent-file list and the language. QSettings in its
// native format under organisation "Hollenby", application "Kelvoro".
class SettingsStore {
public:
    SettingsStore();

    int getProfileInt(const QString& section, const QString& key, int fallback) const;
    void writeProfileInt(const QString& section, const QString& key, int value);

    // Most recent first, at most four entries ("Recent File List", File1…File4).
    void addRecentFile(const QByteArray& path);
    QList<QByteArray> recentFiles() const;

    // The interface language chosen under View > 言語; System when none was chosen.
    LanguageChoice languageChoice() const;
    void setLanguageChoice(LanguageChoice choice);

    void sync() { m_settings.sync(); }

private:
    QSettings m_settings;
};

} // namespace kelvoro
