#pragma once

#include "common/uilanguage.h"

namespace kelvoro::cli {

// Installs the tool's translators for a language: its own texts and the window's texts it
// shares (file errors, rename failures), both compiled into the tool. Needs the application
// object; call it before any text is produced.
void applyToolLanguage(UiLanguage language);

} // namespace kelvoro::cli
