#pragma once

#include "bench/benchtools.h"

namespace kelvoro::bench {

// Adding, saving and renaming options.shareFiles files through the latency file system, every
// operation options.latencyMs late, beside the same work done one file at a time through the
// same mount.
void shareFigures(App& app, const Options& options);

} // namespace kelvoro::bench
