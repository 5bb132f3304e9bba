#pragma once

#include <QByteArray>

#include <functional>

namespace kelvoro {

// Called before each row of a long loop over rows (saving, renaming) with the number of rows
// done, the total and that row; returning false stops the loop before that row.
using RowLoopProgress = std::function<bool(int done, int total, int row)>;

// Called as a folder walk enters each folder, with the number of paths found so far and the
// folder's path; returning false ends the walk there.
using FolderWalkProgress = std::function<bool(int found, const QByteArray& folder)>;

} // namespace kelvoro
