#pragma once

#include "app/cli/arguments.h"
#include "platform/filestatus.h"

#include <QByteArray>

namespace kelvoro::cli {

// Dates a set may take from outside the file's times, read only when a value asks for them.
struct FoundDates {
    std::optional<CalendarTime> photo;
    std::optional<CalendarTime> name;
};

bool usesSource(const Request& request, TimeSource source);

struct SetPlan {
    // What the save's writeStatus is asked for: the changed times and the whole attribute word.
    platform::FileStatus desired;
    // A time whose source this file does not have (nothing is written then).
    std::optional<TimeField> unresolved;
};

// The status a set asks of one file, every value worked out by the time tools from what the
// file has now (a copy takes the other time as it was before the change).
SetPlan planSet(const Request& request, const platform::FileStatus& current,
                const FoundDates& found = {});

// "PATH: created OLD -> NEW", one line per value that would change.
QByteArray describeChanges(const QByteArray& path, const platform::FileStatus& current,
                           const platform::FileStatus& desired);

const char* fieldName(TimeField field);

} // namespace kelvoro::cli
