#pragma once

#include <QString>
#include <QUrl>

namespace kelvoro {

// Where the user guide of a program in executableDir lives. The install tree's copy
// (<prefix>/bin/../share/kelvoro/guide) comes first so that a moved prefix or a packaged
// install finds its own guide; then the build tree's copy beside the program; then the
// configured data directory. When none exists, the install tree's place is named, so the
// link still shows where the guide belongs.
QString guideFile(const QString& executableDir, const QString& configuredDir);

// The guide of the running program, at the part in the interface's language, as the address
// the about box shows and opens.
QUrl guideUrl();

} // namespace kelvoro
