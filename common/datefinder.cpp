#include "common/datefinder.h"

#include <QRegularExpression>
#include <QString>

#include <chrono>

namespace kelvoro {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Date, optional separator, time, optional milliseconds; the date's two separators are the same
// and so are the time's.
const QRegularExpression& dateTimePattern() {
    static const QRegularExpression re(
        QStringLiteral("([0-9]{4})([-_.]?)([0-9]{2})\\2([0-9]{2})(?:[ _T-]| at )?"
                       "([0-9]{2})([.:_-]?)([0-9]{2})\\6([0-9]{2})(?:[0-9]{3})?(?![0-9])"));
    return re;
}

const QRegularExpression& datePattern() {
    static const QRegularExpression re(
        QStringLiteral("([0-9]{4})([-_.]?)([0-9]{2})\\2([0-9]{2})(?![0-9])"));
    return re;
}

std::optional<LocalFields> matchAt(const QRegularExpression& re, const QString& text, int pos,
                                   bool withTime) {
    const QRegularExpressionMatch m = re.match(text, pos, QRegularExpression::NormalMatch,
                                               QRegularExpression::AnchorAtOffsetMatchOption);
    if (!m.hasMatch())
        return std::nullopt;
    auto number = [&m](int group) { return m.capturedView(group).toInt(); };
    const LocalFields fields{number(1),
                             number(3),
                             number(4),
                             withTime ? number(5) : 0,
                             withTime ? number(7) : 0,
                             withTime ? number(8) : 0};
    if (!isValidDateTime(fields))
        return std::nullopt;
    return fields;
}

// Days from 1970-01-01 to the given day of the proleptic Gregorian calendar.
std::int64_t daysSinceEpoch(int year, int month, int day) {
    using namespace std::chrono;
    const sys_days d{std::chrono::year{year} / std::chrono::month{static_cast<unsigned>(month)} /
                     std::chrono::day{static_cast<unsigned>(day)}};
    return d.time_since_epoch().count();
}

int twoDigits(std::string_view text, std::size_t pos) {
    return (text[pos] - '0') * 10 + (text[pos + 1] - '0');
}

bool digitsAt(std::string_view text, std::size_t pos, std::size_t count) {
    for (std::size_t i = pos; i < pos + count; ++i)
        if (!isDigit(text[i]))
            return false;
    return true;
}

} // namespace

bool isValidDateTime(const LocalFields& f) {
    if (f.year < 1900 || f.year > 2999 || f.hour < 0 || f.hour > 23 || f.minute < 0 ||
        f.minute > 59 || f.second < 0 || f.second > 59 || f.month < 1 || f.month > 12 || f.day < 1)
        return false;
    const std::chrono::year_month_day ymd{std::chrono::year{f.year},
                                          std::chrono::month{static_cast<unsigned>(f.month)},
                                          std::chrono::day{static_cast<unsigned>(f.day)}};
    return ymd.ok();
}

std::optional<LocalFields> findDateInName(std::string_view name) {
    const QString text = QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (!isDigit(name[i]) || (i > 0 && isDigit(name[i - 1])))
            continue;
        const int pos = static_cast<int>(i);
        if (auto fields = matchAt(dateTimePattern(), text, pos, true))
            return fields;
        if (auto fields = matchAt(datePattern(), text, pos, false))
            return fields;
    }
    return std::nullopt;
}

std::optional<LocalFields> parseExifDateTime(std::string_view text) {
    // Some writers end the text with blanks or a NUL; the 19 characters are what counts.
    if (text.size() < 19 || !digitsAt(text, 0, 4) || text[4] != ':' || text[7] != ':' ||
        text[10] != ' ' || text[13] != ':' || text[16] != ':')
        return std::nullopt;
    for (std::size_t pos : {5, 8, 11, 14, 17})
        if (!digitsAt(text, pos, 2))
            return std::nullopt;
    for (char c : text.substr(19))
        if (c != ' ' && c != '\0')
            return std::nullopt;
    const LocalFields fields{twoDigits(text, 0) * 100 + twoDigits(text, 2),
                             twoDigits(text, 5),
                             twoDigits(text, 8),
                             twoDigits(text, 11),
                             twoDigits(text, 14),
                             twoDigits(text, 17)};
    if (!isValidDateTime(fields))
        return std::nullopt;
    return fields;
}

std::optional<int> parseUtcOffset(std::string_view text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\0'))
        text.remove_suffix(1);
    if (text.size() != 6 || (text[0] != '+' && text[0] != '-') || !digitsAt(text, 1, 2) ||
        text[3] != ':' || !digitsAt(text, 4, 2))
        return std::nullopt;
    const int hours = twoDigits(text, 1);
    const int minutes = twoDigits(text, 4);
    if (hours > 14 || minutes > 59)
        return std::nullopt;
    const int seconds = hours * 3600 + minutes * 60;
    return text[0] == '-' ? -seconds : seconds;
}

std::optional<CalendarTime> fieldsToTime(const LocalFields& f, std::optional<int> utcOffset) {
    if (!isValidDateTime(f))
        return std::nullopt;
    if (!utcOffset)
        return makeLocalTime(f.year, f.month, f.day, f.hour, f.minute, f.second);
    const CalendarTime wall =
        daysSinceEpoch(f.year, f.month, f.day) * 86400 + f.hour * 3600 + f.minute * 60 + f.second;
    return wall - *utcOffset;
}

} // namespace kelvoro
