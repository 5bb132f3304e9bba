#pragma once

#include "common/timetext.h"
#include "properties/timetools.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelvoro::cli {

// What a --created/--modified/--accessed value asks for: a given instant, or a source the
// time tools take the new time from (a shift, another time, the photo's date, the name's).
struct TimeValue {
    std::optional<CalendarTime> at;
    TimeChoice choice;
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

// "2024-01-02T03:04:05+09:00" in the local zone; empty when the time cannot be broken down.
std::string isoTimeText(CalendarTime t);

} // namespace kelvoro::cli
