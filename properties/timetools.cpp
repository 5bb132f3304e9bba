#include "properties/timetools.h"

#include "common/datefinder.h"

#include <algorithm>

namespace kelvoro {

namespace {

std::optional<CalendarTime> shifted(const std::optional<CalendarTime>& t, std::int64_t by) {
    CalendarTime result = 0;
    if (!t || __builtin_add_overflow(*t, by, &result))
        return std::nullopt;
    return result;
}

std::optional<CalendarTime> sourceTime(const TimeToolRow& row, std::size_t field,
                                       const TimeChoice& choice) {
    switch (choice.source) {
    case TimeSource::Keep:
        return row.times[field];
    case TimeSource::Shift:
        return shifted(row.times[field], choice.shiftSeconds);
    case TimeSource::CopyCreated:
        return row.times[static_cast<std::size_t>(TimeField::Created)];
    case TimeSource::CopyModified:
        return row.times[static_cast<std::size_t>(TimeField::Modified)];
    case TimeSource::CopyAccessed:
        return row.times[static_cast<std::size_t>(TimeField::Accessed)];
    case TimeSource::PhotoDate:
        return row.photoDate;
    case TimeSource::NameDate:
        return row.nameDate;
    }
    return std::nullopt;
}

} // namespace

std::int64_t shiftSeconds(std::int64_t days, std::int64_t hours, std::int64_t minutes,
                          std::int64_t seconds) {
    return ((days * 24 + hours) * 60 + minutes) * 60 + seconds;
}

bool usesSource(const TimeChoices& choices, TimeSource source) {
    return std::any_of(choices.begin(), choices.end(),
                       [source](const TimeChoice& c) { return c.source == source; });
}

std::optional<CalendarTime> nameDate(std::string_view fileName) {
    const std::optional<LocalFields> fields = findDateInName(fileName);
    if (!fields)
        return std::nullopt;
    return fieldsToTime(*fields, std::nullopt);
}

bool RowOutcome::changed() const {
    return std::find(fields.begin(), fields.end(), FieldOutcome::Changed) != fields.end();
}

bool RowOutcome::skipped() const {
    return std::find(fields.begin(), fields.end(), FieldOutcome::NoSource) != fields.end();
}

RowOutcome computeRowTimes(const TimeToolRow& row, const TimeChoices& choices) {
    RowOutcome outcome;
    for (std::size_t f = 0; f < kTimeFieldCount; ++f) {
        if (choices[f].source == TimeSource::Keep)
            continue;
        const std::optional<CalendarTime> t = sourceTime(row, f, choices[f]);
        if (!t)
            outcome.fields[f] = FieldOutcome::NoSource;
        else if (t != row.times[f]) {
            outcome.fields[f] = FieldOutcome::Changed;
            outcome.newTimes[f] = t;
        }
    }
    return outcome;
}

TimeToolPlan planTimeChanges(std::span<const TimeToolRow> rows, const TimeChoices& choices) {
    TimeToolPlan plan;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const RowOutcome outcome = computeRowTimes(rows[r], choices);
        for (std::size_t f = 0; f < kTimeFieldCount; ++f) {
            if (outcome.fields[f] == FieldOutcome::Changed)
                ++plan.counts[f].changed;
            else if (outcome.fields[f] == FieldOutcome::NoSource)
                ++plan.counts[f].noSource;
        }
        if (outcome.changed())
            plan.changes.push_back({r, outcome.newTimes});
        if (outcome.skipped())
            plan.skipped.push_back(r);
    }
    return plan;
}

} // namespace kelvoro
