#pragma once

#include "common/uilanguage.h"

namespace kelvoro {

class SettingsStore;

// Installs the translators of a language, replacing those of the last call: Kelvoro's own
// texts (none for Japanese, the language they are written in) and Qt's dialogs and buttons.
// Every widget then receives QEvent::LanguageChange. Nothing happens when the language is
// the one applied already.
void applyLanguage(UiLanguage language);
// The language last applied; Japanese before any.
UiLanguage appliedLanguage();

// The language the settings and the session ask for, applied.
void applyChosenLanguage(const SettingsStore& settings);

} // namespace kelvoro
