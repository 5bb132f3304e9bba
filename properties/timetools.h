#pragma once

#include "common/timetext.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace kelvoro {

// The three times of a row, in column order.
enum class TimeField { Created, Modified, Accessed };
inline constexpr std::size_t kTimeFieldCount = 3;
using RowTimes = std::array<std::optional<CalendarTime>, kTimeFieldCount>;

// Where one time of every chosen row comes from.
enum class TimeSource {
    Keep,
    Shift, // the time itself plus shiftSeconds: absolute seconds, whatever the clocks do
    CopyCreated,
    CopyModified,
    CopyAccessed,
    PhotoDate, // the date the photo or video was taken, from its metadata
    NameDate,  // the date in the file name
};

struct TimeChoice {
    TimeSource source = TimeSource::Keep;
    std::int64_t shiftSeconds = 0;
};
using TimeChoices = std::array<TimeChoice, kTimeFieldCount>;

std::int64_t shiftSeconds(std::int64_t days, std::int64_t hours, std::int64_t minutes,
                          std::int64_t seconds);

// One row as it shows now, staged or not, with the dates found outside its times. The photo
// and name dates are only looked at when a field takes them.
struct TimeToolRow {
    RowTimes times;
    std::optional<CalendarTime> photoDate;
    std::optional<CalendarTime> nameDate;
};

bool usesSource(const TimeChoices& choices, TimeSource source);

// The date in a file name (see findDateInName) as local time.
std::optional<CalendarTime> nameDate(std::string_view fileName);

enum class FieldOutcome {
    Unchanged, // kept, or the source gives the time the row has already
    Changed,
    NoSource, // the source is not given for this row: the time stays as it is
};

struct RowOutcome {
    RowTimes newTimes; // given for the changed fields only
    std::array<FieldOutcome, kTimeFieldCount> fields{};

    bool changed() const;
    bool skipped() const; // some field had no source
};

// Every source reads the row as it is before any field changes, so two fields can swap.
RowOutcome computeRowTimes(const TimeToolRow& row, const TimeChoices& choices);

struct FieldCount {
    std::size_t changed = 0;
    std::size_t noSource = 0;
};

struct TimeToolPlan {
    struct Change {
        std::size_t row; // index into the rows planned
        RowTimes newTimes;
    };
    std::vector<Change> changes;
    std::vector<std::size_t> skipped; // rows where some field had no source, ascending
    std::array<FieldCount, kTimeFieldCount> counts{};
};

TimeToolPlan planTimeChanges(std::span<const TimeToolRow> rows, const TimeChoices& choices);

} // namespace kelvoro
