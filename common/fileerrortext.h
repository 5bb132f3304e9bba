#pragma once

#include "platform/filestatus.h"

#include <QString>

namespace kelvoro {

// The message for a file error, with the path as the user sees it in place of "%1".
QString fileErrorText(platform::FileErrorCause cause, const QString& path);

// A native path as the list shows it (decoded with the locale; undecodable bytes become
// replacement characters).
QString displayPath(const QByteArray& path);

} // namespace kelvoro
