#pragma once

#include "common/uilanguage.h"

#include <QMenu>

class QAction;

namespace kelvoro {

class SettingsStore;

// View > 言語: the session's language, Japanese or English. A choice is stored and applied
// at once; every window then retranslates itself.
class LanguageMenu : public QMenu {
    Q_OBJECT

public:
    LanguageMenu(SettingsStore& settings, QWidget* parent = nullptr);

    QAction* choiceAction(LanguageChoice choice) const;

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslate();
    void choose(LanguageChoice choice);

    SettingsStore& m_settings;
    QAction* m_system = nullptr;
    QAction* m_japanese = nullptr;
    QAction* m_english = nullptr;
};

} // namespace kelvoro
