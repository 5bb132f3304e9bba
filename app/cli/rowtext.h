#pragma once

#include "platform/attributestore.h"
#include "platform/filestatus.h"

#include <QByteArray>

namespace kelvoro::cli {

// One file as the list shows it, tab-separated: directory, name, the three times in the
// list's text form, and the flags as four letters (R, H, A, I; "-" when clear).
QByteArray rowLine(const QByteArray& absolutePath, const platform::FileStatus& status);

// One JSON object on one line: the path and its pieces, the times in ISO-8601 with the local
// offset, the flags as booleans, the attribute word and the store. A path that is not valid
// UTF-8 is shown with replacement characters and given exactly in "path_base64".
QByteArray rowJson(const QByteArray& absolutePath, const platform::FileStatus& status,
                   platform::AttributeStore store);

const char* storeName(platform::AttributeStore store);

} // namespace kelvoro::cli
