#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelvoro {

// Seconds since 1970-01-01 00:00:00 UTC. "Not given" is an empty optional, never 0:
// the epoch is a real time.
using CalendarTime = std::int64_t;

// "%Y/%m/%d %H:%M:%S" in local time, the year in four digits; empty when the time cannot be
// broken down. A year outside 1 to 9999 is written as its number (with its sign), which
// parseTimeText refuses rather than misreads.
std::string formatTimeText(CalendarTime t);

// Reads the six fields at their fixed byte positions (0, 5, 8, 11, 14, 17) with atoi and
// builds the local time with mktime (daylight saving decided by the runtime). Text that is
// too short, has fields out of range or names a time the runtime cannot represent gives
// nothing.
std::optional<CalendarTime> parseTimeText(std::string_view text);

// Local wall-clock fields to a calendar time (mktime, tm_isdst = -1). Times inside a
// daylight-saving gap are normalised as mktime does; a time that occurs twice is the earlier.
std::optional<CalendarTime> makeLocalTime(int year, int month, int day, int hour, int minute,
                                          int second);

struct LocalFields {
    int year, month, day, hour, minute, second;
};
std::optional<LocalFields> breakDownLocal(CalendarTime t);

// The six fields of a time text as atoi reads them at their fixed byte positions, unchecked;
// a missing field reads as 0.
LocalFields timeTextFields(std::string_view text);

} // namespace kelvoro
