#pragma once

#include <QIcon>

namespace kelvoro {

// The program's icon in every size drawn for it, for the windows and the task bar.
QIcon applicationIcon();

} // namespace kelvoro
