#pragma once

#include "filelist/commandcontext.h"

namespace kelvoro {

// The handler bound to a command; null for the window's own commands (exit, the toolbar and
// status bar switches, the about box), which the frame runs itself.
CommandHandler commandHandler(int id);

} // namespace kelvoro
