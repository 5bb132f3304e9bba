#pragma once

#include "common/timetext.h"
#include "platform/filestatus.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelvoro::cli {

enum class TimeField { Created, Modified, Accessed };

// What a --created/--modified/--accessed value asks for.
struct TimeValue {
    enum class Kind {
        At,    // a given instant
        Shift, // the file's own value moved by seconds
        Copy,  // another of the file's times, as it was before the change
        Exif,  // the photo's recording time
        Name,  // a date and time written in the file's name
    };
    Kind kind = Kind::At;
    std::int64_t seconds = 0; // At: the instant; Shift: the amount
    TimeField from = TimeField::Modified;

    bool operator==(const TimeValue&) const = default;
};

// "2024-01-02 03:04:05", "2024/01/02 03:04:05", "2024-01-02" (midnight), ISO-8601 with "T"
// and an optional offset ("Z", "+09:00", "+0900", "+09"; without one the local zone), or
// "@SECONDS" since the epoch. A fraction of a second is dropped. Nothing when the text is not
// one of these or names no real day.
std::optional<CalendarTime> parseInstant(std::string_view text);

// "+1h", "-30m", "+2d3h": a sign, then one or more numbers each with a unit (w, d, h, m, s).
// A day is 86,400 seconds.
std::optional<std::int64_t> parseShift(std::string_view text);

// Any of the forms above, "copy:created|modified|accessed", "exif" or "name".
std::optional<TimeValue> parseTimeValue(std::string_view text);

// The created, modified or accessed member of anything that has the three.
template <typename Times> auto& fieldOf(Times& times, TimeField field) {
    switch (field) {
    case TimeField::Created:
        return times.created;
    case TimeField::Accessed:
        return times.accessed;
    case TimeField::Modified:
        break;
    }
    return times.modified;
}

// The new value of one field of a file from the file's current status; nothing when the value
// needs a time the file does not have or the result does not fit. Exif and Name take what the
// caller read from the file or its name (found).
std::optional<CalendarTime> resolveTime(const TimeValue& value, const platform::FileStatus& current,
                                        TimeField field,
                                        const std::optional<CalendarTime>& found = {});

// "2024-01-02T03:04:05+09:00" in the local zone; empty when the time cannot be broken down.
std::string isoTimeText(CalendarTime t);

} // namespace kelvoro::cli
