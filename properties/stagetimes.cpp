#include "properties/stagetimes.h"

#include "filelist/filelistmodel.h"

namespace kelvoro {

TimeToolsInput timeToolsInput(const FileListModel& model, const std::vector<int>& rows) {
    TimeToolsInput input;
    input.times.reserve(rows.size());
    input.paths.reserve(rows.size());
    input.names.reserve(rows.size());
    for (int r : rows) {
        const FileRow& row = model.row(r);
        input.times.push_back({row.created, row.modified, row.accessed});
        input.paths.push_back(row.path().toStdString());
        input.names.push_back(row.name.toStdString());
    }
    return input;
}

std::vector<TimeToolRow> timeToolRows(const std::vector<RowTimes>& times) {
    std::vector<TimeToolRow> rows(times.size());
    for (std::size_t i = 0; i < times.size(); ++i)
        rows[i].times = times[i];
    return rows;
}

void stageTimePlan(FileListModel& model, const std::vector<int>& rows, const TimeToolPlan& plan) {
    const FileListModel::ChangeBatch batch(model);
    for (const TimeToolPlan::Change& change : plan.changes) {
        const int r = rows[change.row];
        const auto& [created, modified, accessed] = change.newTimes;
        model.stageEdit(r, created, modified, accessed, model.row(r).flags());
    }
}

} // namespace kelvoro
