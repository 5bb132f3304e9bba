#include "common/timetext.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <limits>

namespace kelvoro {

std::string formatTimeText(CalendarTime t) {
    const std::optional<LocalFields> f = breakDownLocal(t);
    if (!f)
        return {};
    // Years from 1 to 9999 in four digits, which read back as the same time; any other
    // year as its number, which no text rule reads back as some other year.
    char buffer[64];
    const int n = std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d %02d:%02d:%02d", f->year,
                                f->month, f->day, f->hour, f->minute, f->second);
    return std::string(buffer, static_cast<std::size_t>(std::max(n, 0)));
}

namespace {

// mktime with the given daylight-saving hint; tm then holds the normalised fields.
std::optional<CalendarTime> mktimeWith(std::tm& tm, int isDst) {
    tm.tm_isdst = isDst;
    // mktime returns -1 both for failure and for 1969-12-31 23:59:59 UTC; it only fills
    // tm_wday on success, which tells the two apart.
    tm.tm_wday = -1;
    const std::time_t result = std::mktime(&tm);
    if (result == static_cast<std::time_t>(-1) && tm.tm_wday == -1)
        return std::nullopt;
    return static_cast<CalendarTime>(result);
}

bool showsAs(CalendarTime t, const std::tm& wanted) {
    const std::optional<LocalFields> f = breakDownLocal(t);
    return f && f->year - 1900 == wanted.tm_year && f->month - 1 == wanted.tm_mon &&
           f->day == wanted.tm_mday && f->hour == wanted.tm_hour && f->minute == wanted.tm_min &&
           f->second == wanted.tm_sec;
}

} // namespace

std::optional<CalendarTime> makeLocalTime(int year, int month, int day, int hour, int minute,
                                          int second) {
    if (year < std::numeric_limits<int>::min() + 1900)
        return std::nullopt;
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    const std::optional<CalendarTime> chosen = mktimeWith(tm, -1);
    if (!chosen || tm.tm_isdst < 0)
        return chosen;
    // A wall-clock time that occurs twice (the hour repeated when daylight saving ends) is
    // the earlier of the two, whichever the runtime picked; fields out of range (second 60)
    // count as the time they normalise to.
    std::tm other = tm;
    const std::optional<CalendarTime> earlier = mktimeWith(other, tm.tm_isdst > 0 ? 0 : 1);
    if (earlier && *earlier < *chosen && showsAs(*earlier, tm))
        return earlier;
    return chosen;
}

std::optional<LocalFields> breakDownLocal(CalendarTime t) {
    const std::time_t tt = static_cast<std::time_t>(t);
    std::tm tm{};
    if (localtime_r(&tt, &tm) == nullptr || tm.tm_year > std::numeric_limits<int>::max() - 1900)
        return std::nullopt;
    return LocalFields{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                       tm.tm_hour,        tm.tm_min,     tm.tm_sec};
}

namespace {

int fieldAt(std::string_view text, std::size_t pos, std::size_t len) {
    char buffer[8] = {};
    if (pos < text.size())
        text.substr(pos, len).copy(buffer, len);
    return std::atoi(buffer);
}

} // namespace

LocalFields timeTextFields(std::string_view text) {
    return LocalFields{fieldAt(text, 0, 4),  fieldAt(text, 5, 2),  fieldAt(text, 8, 2),
                       fieldAt(text, 11, 2), fieldAt(text, 14, 2), fieldAt(text, 17, 2)};
}

std::optional<CalendarTime> parseTimeText(std::string_view text) {
    // A fifth digit is a year the four-digit field would misread.
    if (text.size() < 19 || (text[4] >= '0' && text[4] <= '9'))
        return std::nullopt;
    const auto [year, month, day, hour, minute, second] = timeTextFields(text);
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 ||
        second > 60 || hour < 0 || minute < 0 || second < 0)
        return std::nullopt;
    return makeLocalTime(year, month, day, hour, minute, second);
}

} // namespace kelvoro
