#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

namespace kelvoro {

struct OrderedWorkResult {
    std::vector<char> done;                  // per job: it ran and succeeded
    std::optional<std::size_t> firstFailure; // the lowest job that failed
    bool stopped = false;                    // progress asked to stop
};

// Runs job(i) for every i below count on up to `threads` threads (the calling one among
// them), taking jobs in index order. A job returns false when it failed; after that no job of
// a higher index starts, while those already running finish. progress(done) is called on the
// calling thread before each job it takes; returning false stops new jobs. When no thread can
// be started, every job runs on the calling thread.
OrderedWorkResult runOrdered(std::size_t count, std::size_t threads,
                             const std::function<bool(std::size_t job)>& job,
                             const std::function<bool(std::size_t done)>& progress);

} // namespace kelvoro
