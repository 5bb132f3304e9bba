#include "app/cli/setplan.h"

#include <algorithm>

namespace kelvoro::cli {

namespace {

using namespace platform;

constexpr TimeField kFields[] = {TimeField::Created, TimeField::Modified, TimeField::Accessed};

template <typename Status> auto& timeIn(Status& status, TimeField field) {
    return field == TimeField::Created    ? status.created
           : field == TimeField::Modified ? status.modified
                                          : status.accessed;
}

std::uint32_t withFlag(std::uint32_t word, std::uint32_t bit, const std::optional<bool>& on) {
    if (!on)
        return word;
    return *on ? word | bit : word & ~bit;
}

QByteArray timeText(const std::optional<std::int64_t>& t) {
    return t ? QByteArray::fromStdString(formatTimeText(*t)) : QByteArray("-");
}

QByteArray onOff(bool on) {
    return on ? QByteArray("on") : QByteArray("off");
}

} // namespace

const char* fieldName(TimeField field) {
    switch (field) {
    case TimeField::Created:
        return "created";
    case TimeField::Accessed:
        return "accessed";
    case TimeField::Modified:
        break;
    }
    return "modified";
}

bool usesSource(const Request& request, TimeSource source) {
    return std::any_of(request.times.begin(), request.times.end(), [&](const auto& value) {
        return value && !value->at && value->choice.source == source;
    });
}

SetPlan planSet(const Request& request, const FileStatus& current, const FoundDates& found) {
    TimeToolRow row{{current.created, current.modified, current.accessed}, found.photo, found.name};
    TimeChoices choices;
    for (std::size_t f = 0; f < kTimeFieldCount; ++f) {
        if (request.times[f] && !request.times[f]->at)
            choices[f] = request.times[f]->choice;
    }
    const RowOutcome outcome = computeRowTimes(row, choices);

    SetPlan plan;
    for (const TimeField field : kFields) {
        const auto f = static_cast<std::size_t>(field);
        if (request.times[f] && request.times[f]->at)
            timeIn(plan.desired, field) = request.times[f]->at;
        else if (outcome.fields[f] == FieldOutcome::Changed)
            timeIn(plan.desired, field) = outcome.newTimes[f];
        else if (outcome.fields[f] == FieldOutcome::NoSource && !plan.unresolved)
            plan.unresolved = field;
    }
    // The index flag says the file may be indexed: the bit says it may not.
    std::uint32_t word = current.attributes;
    word = withFlag(word, attr::ReadOnly, request.flags.readOnly);
    word = withFlag(word, attr::Hidden, request.flags.hidden);
    word = withFlag(word, attr::Archive, request.flags.archive);
    if (request.flags.index)
        word = withFlag(word, attr::NotContentIndexed, !*request.flags.index);
    plan.desired.attributes = word;
    return plan;
}

QByteArray describeChanges(const QByteArray& path, const FileStatus& current,
                           const FileStatus& desired) {
    QByteArray lines;
    for (const TimeField field : kFields) {
        const std::optional<std::int64_t>& wanted = timeIn(desired, field);
        const std::optional<std::int64_t>& now = timeIn(current, field);
        if (wanted && wanted != now)
            lines += path + ": " + fieldName(field) + ' ' + timeText(now) + " -> " +
                     timeText(wanted) + '\n';
    }
    static constexpr struct {
        const char* name;
        std::uint32_t bit;
        bool inverted;
    } kFlags[] = {{"readonly", attr::ReadOnly, false},
                  {"hidden", attr::Hidden, false},
                  {"archive", attr::Archive, false},
                  {"index", attr::NotContentIndexed, true}};
    for (const auto& flag : kFlags) {
        const bool was = ((current.attributes & flag.bit) != 0) != flag.inverted;
        const bool will = ((desired.attributes & flag.bit) != 0) != flag.inverted;
        if (was != will)
            lines += path + ": " + flag.name + ' ' + onOff(was) + " -> " + onOff(will) + '\n';
    }
    return lines;
}

} // namespace kelvoro::cli
