#pragma once

#include <functional>

namespace kelvoro {

// Called before each row of a long loop over rows (saving, renaming) with the number of rows
// done, the total and that row; returning false stops the loop before that row.
using RowLoopProgress = std::function<bool(int done, int total, int row)>;

} // namespace kelvoro
