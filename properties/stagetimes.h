#pragma once

#include "properties/timetools.h"

#include <string>
#include <vector>

namespace kelvoro {

class FileListModel;

// What the time tools work on: the chosen rows as they show now.
struct TimeToolsInput {
    std::vector<RowTimes> times;
    std::vector<std::string> paths; // native bytes, for the photo dates
    std::vector<std::string> names; // native bytes, for the dates in names
};

TimeToolsInput timeToolsInput(const FileListModel& model, const std::vector<int>& rows);
// The rows to plan over, without photo or name dates yet.
std::vector<TimeToolRow> timeToolRows(const std::vector<RowTimes>& times);

// Stages a plan made over `rows` (in their order): the new times, the flags as they are. The
// views hear of it once.
void stageTimePlan(FileListModel& model, const std::vector<int>& rows, const TimeToolPlan& plan);

} // namespace kelvoro
