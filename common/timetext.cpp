#include "common/timetext.h"

#include <cstdlib>
#include <ctime>

namespace kelvoro {

std::string formatTimeText(CalendarTime t) {
    const std::time_t tt = static_cast<std::time_t>(t);
    std::tm tm{};
    if (localtime_r(&tt, &tm) == nullptr)
        return {};
    char buffer[64];
    const std::size_t n = std::strftime(buffer, sizeof buffer, "%Y/%m/%d %H:%M:%S", &tm);
    return std::string(buffer, n);
}

std::optional<CalendarTime> makeLocalTime(int year, int month, int day, int hour, int minute,
                                          int second) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = -1;
    // mktime returns -1 both for failure and for 1969-12-31 23:59:59 UTC; it only fills
    // tm_wday on success, which tells the two apart.
    tm.tm_wday = -1;
    const std::time_t result = std::mktime(&tm);
    if (result == static_cast<std::time_t>(-1) && tm.tm_wday == -1)
        return std::nullopt;
    return static_cast<CalendarTime>(result);
}

std::optional<LocalFields> breakDownLocal(CalendarTime t) {
    const std::time_t tt = static_cast<std::time_t>(t);
    std::tm tm{};
    if (localtime_r(&tt, &tm) == nullptr)
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
    if (text.size() < 19)
        return std::nullopt;
    const auto [year, month, day, hour, minute, second] = timeTextFields(text);
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 ||
        second > 60 || hour < 0 || minute < 0 || second < 0)
        return std::nullopt;
    return makeLocalTime(year, month, day, hour, minute, second);
}

} // namespace kelvoro
