#include "app/languagemenu.h"

#include "app/settingsstore.h"
#include "app/translations.h"
#include "presentation/menulook.h"

#include <QActionGroup>
#include <QEvent>

namespace kelvoro {

LanguageMenu::LanguageMenu(SettingsStore& settings, QWidget* parent)
    : QMenu(parent), m_settings(settings) {
    setObjectName(QStringLiteral("languageMenu"));
    applyMenuLook(this);
    auto* group = new QActionGroup(this);
    group->setExclusive(true);
    const LanguageChoice chosen = settings.languageChoice();
    for (const LanguageChoice choice :
         {LanguageChoice::System, LanguageChoice::Japanese, LanguageChoice::English}) {
        QAction* action = addAction(QString());
        action->setObjectName(QStringLiteral("language-") + languageChoiceKey(choice));
        action->setCheckable(true);
        action->setChecked(choice == chosen);
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, choice] { choose(choice); });
        (choice == LanguageChoice::System     ? m_system
         : choice == LanguageChoice::Japanese ? m_japanese
                                              : m_english) = action;
    }
    retranslate();
}

QAction* LanguageMenu::choiceAction(LanguageChoice choice) const {
    switch (choice) {
    case LanguageChoice::Japanese:
        return m_japanese;
    case LanguageChoice::English:
        return m_english;
    case LanguageChoice::System:
        break;
    }
    return m_system;
}

void LanguageMenu::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QMenu::changeEvent(event);
}

void LanguageMenu::retranslate() {
    setTitle(tr("言語(&L)"));
    m_system->setText(tr("システムに合わせる(&S)"));
    m_system->setStatusTip(tr("デスクトップの言語設定に合わせます"));
    // Each language is named in itself, so that anyone can find their own.
    m_japanese->setText(tr("日本語(&J)"));
    m_japanese->setStatusTip(tr("日本語で表示します"));
    m_english->setText(tr("English(&E)"));
    m_english->setStatusTip(tr("英語で表示します"));
}

void LanguageMenu::choose(LanguageChoice choice) {
    m_settings.setLanguageChoice(choice);
    m_settings.sync();
    applyLanguage(chooseLanguage(choice, LocaleEnvironment::current()));
}

} // namespace kelvoro
