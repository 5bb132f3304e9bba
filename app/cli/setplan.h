#pragma once

#include "app/cli/arguments.h"
#include "platform/filestatus.h"

#include <QByteArray>

namespace kelvoro::cli {

struct SetPlan {
    // What the save's writeStatus is asked for: the given times and the whole attribute word.
    platform::FileStatus desired;
    // A time that could not be worked out for this file (nothing is written then).
    std::optional<TimeField> unresolved;
};

// The status a set asks of one file, every value worked out from what the file has now (a
// copy takes the other time as it was before the change).
SetPlan planSet(const Request& request, const platform::FileStatus& current);

// "PATH: created OLD -> NEW", one line per value that would change.
QByteArray describeChanges(const QByteArray& path, const platform::FileStatus& current,
                           const platform::FileStatus& desired);

const char* fieldName(TimeField field);

} // namespace kelvoro::cli
