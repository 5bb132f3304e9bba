#include "app/cli/timevalue.h"

#include <charconv>
#include <cstdio>
#include <ctime>
#include <limits>

namespace kelvoro::cli {

namespace {

// Reads exactly `count` digits.
bool digits(std::string_view& text, std::size_t count, int& out) {
    if (text.size() < count)
        return false;
    out = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        out = out * 10 + (text[i] - '0');
    }
    text.remove_prefix(count);
    return true;
}

bool take(std::string_view& text, char c) {
    if (text.empty() || text.front() != c)
        return false;
    text.remove_prefix(1);
    return true;
}

bool isLeap(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    static constexpr int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeap(year) ? 29 : days[month - 1];
}

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
std::int64_t daysFromCivil(std::int64_t y, int m, int d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

// "Z", "+09:00", "+0900" or "+09" as seconds east of UTC.
std::optional<int> parseOffset(std::string_view text) {
    if (text == "Z" || text == "z")
        return 0;
    if (text.empty() || (text.front() != '+' && text.front() != '-'))
        return std::nullopt;
    const int sign = text.front() == '-' ? -1 : 1;
    text.remove_prefix(1);
    int hours = 0;
    int minutes = 0;
    if (!digits(text, 2, hours))
        return std::nullopt;
    if (!text.empty()) {
        take(text, ':');
        if (!digits(text, 2, minutes) || !text.empty())
            return std::nullopt;
    }
    if (hours > 23 || minutes > 59)
        return std::nullopt;
    return sign * (hours * 3600 + minutes * 60);
}

std::optional<CalendarTime> parseEpoch(std::string_view text) {
    std::int64_t seconds = 0;
    const char* end = text.data() + text.size();
    const auto [last, error] = std::from_chars(text.data(), end, seconds);
    if (text.empty() || error != std::errc() || last != end)
        return std::nullopt;
    return seconds;
}

struct Clock {
    int hour = 0, minute = 0, second = 0;
};

// "HH:MM[:SS[.fraction]]", leaving the rest (the offset) in text.
bool parseClock(std::string_view& text, Clock& clock) {
    if (!digits(text, 2, clock.hour) || !take(text, ':') || !digits(text, 2, clock.minute))
        return false;
    if (take(text, ':')) {
        if (!digits(text, 2, clock.second))
            return false;
        if (take(text, '.') || take(text, ',')) {
            std::size_t n = 0;
            while (n < text.size() && text[n] >= '0' && text[n] <= '9')
                ++n;
            if (n == 0)
                return false;
            text.remove_prefix(n);
        }
    }
    return clock.hour <= 23 && clock.minute <= 59 && clock.second <= 59;
}

} // namespace

std::optional<CalendarTime> parseInstant(std::string_view text) {
    if (take(text, '@'))
        return parseEpoch(text);

    int year = 0, month = 0, day = 0;
    if (!digits(text, 4, year))
        return std::nullopt;
    const char dateSeparator = text.empty() ? '\0' : text.front();
    if ((dateSeparator != '-' && dateSeparator != '/') || !take(text, dateSeparator) ||
        !digits(text, 2, month) || !take(text, dateSeparator) || !digits(text, 2, day))
        return std::nullopt;
    if (month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month))
        return std::nullopt;

    Clock clock;
    if (!text.empty()) {
        if (!take(text, 'T') && !take(text, 't') && !take(text, ' '))
            return std::nullopt;
        if (!parseClock(text, clock))
            return std::nullopt;
    }
    if (text.empty())
        return makeLocalTime(year, month, day, clock.hour, clock.minute, clock.second);
    const std::optional<int> offset = parseOffset(text);
    if (!offset)
        return std::nullopt;
    return daysFromCivil(year, month, day) * 86400 + clock.hour * 3600 + clock.minute * 60 +
           clock.second - *offset;
}

std::optional<std::int64_t> parseShift(std::string_view text) {
    if (text.size() < 3 || (text.front() != '+' && text.front() != '-'))
        return std::nullopt;
    const bool negative = text.front() == '-';
    text.remove_prefix(1);
    std::int64_t total = 0;
    while (!text.empty()) {
        std::int64_t amount = 0;
        const char* end = text.data() + text.size();
        const auto [last, error] = std::from_chars(text.data(), end, amount);
        if (error != std::errc() || last == text.data() || last == end || amount < 0)
            return std::nullopt;
        std::int64_t unit = 0;
        switch (*last) {
        case 'w':
            unit = 7 * 86400;
            break;
        case 'd':
            unit = 86400;
            break;
        case 'h':
            unit = 3600;
            break;
        case 'm':
            unit = 60;
            break;
        case 's':
            unit = 1;
            break;
        default:
            return std::nullopt;
        }
        std::int64_t part = 0;
        if (__builtin_mul_overflow(amount, unit, &part) ||
            __builtin_add_overflow(total, part, &total))
            return std::nullopt;
        text.remove_prefix(static_cast<std::size_t>(last - text.data()) + 1);
    }
    return negative ? -total : total;
}

std::optional<TimeValue> parseTimeValue(std::string_view text) {
    static constexpr struct {
        std::string_view text;
        TimeSource source;
    } kSources[] = {{"exif", TimeSource::PhotoDate},
                    {"name", TimeSource::NameDate},
                    {"copy:created", TimeSource::CopyCreated},
                    {"copy:modified", TimeSource::CopyModified},
                    {"copy:accessed", TimeSource::CopyAccessed}};
    for (const auto& named : kSources) {
        if (text == named.text)
            return TimeValue{std::nullopt, TimeChoice{named.source, 0}};
    }
    if (const auto shift = parseShift(text))
        return TimeValue{std::nullopt, TimeChoice{TimeSource::Shift, *shift}};
    if (const auto instant = parseInstant(text))
        return TimeValue{instant, TimeChoice{}};
    return std::nullopt;
}

std::string isoTimeText(CalendarTime t) {
    const std::time_t tt = static_cast<std::time_t>(t);
    std::tm tm{};
    if (localtime_r(&tt, &tm) == nullptr)
        return {};
    const long offset = tm.tm_gmtoff;
    const long magnitude = offset < 0 ? -offset : offset;
    char buffer[64];
    const int n =
        std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT%02d:%02d:%02d%c%02ld:%02ld",
                      tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min,
                      tm.tm_sec, offset < 0 ? '-' : '+', magnitude / 3600, magnitude / 60 % 60);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

} // namespace kelvoro::cli
