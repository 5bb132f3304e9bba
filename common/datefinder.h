#pragma once

#include "common/timetext.h"

#include <optional>
#include <string_view>

namespace kelvoro {

// A date and time as written in a file name: 20240102_030405, 20240102-030405,
// 2024-01-02 03.04.05, 2024-01-02_03-04-05, IMG_20240102_030405, PXL_20240102_030405123,
// "Screenshot 2024-01-02 at 03.04.05", 20240102030405, and the dates alone (20240102,
// 2024-01-02, IMG-20240102-WA0001) at 00:00:00. The first candidate from the left whose fields
// make a real date and time wins; digits that belong to a longer number never match. Only ASCII
// is looked at, so any byte string works.
std::optional<LocalFields> findDateInName(std::string_view name);

// Exif's "YYYY:MM:DD HH:MM:SS"; blanks, zeros and impossible dates give nothing.
std::optional<LocalFields> parseExifDateTime(std::string_view text);

// "+09:00", "-05:30" (Exif's OffsetTime tags) in seconds east of UTC.
std::optional<int> parseUtcOffset(std::string_view text);

// The fields at the given offset from UTC, or as local time when the offset is not given.
std::optional<CalendarTime> fieldsToTime(const LocalFields& fields, std::optional<int> utcOffset);

// Years 1900 to 2999, a real calendar day, 00:00:00 to 23:59:59.
bool isValidDateTime(const LocalFields& fields);

} // namespace kelvoro
