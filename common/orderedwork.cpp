#include "common/orderedwork.h"

#include <atomic>
#include <limits>
#include <system_error>
#include <thread>

namespace kelvoro {

namespace {

constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();

struct SharedState {
    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> firstFailure{kNone};
    std::atomic<std::size_t> finished{0};
    std::atomic<bool> stop{false};
};

void noteFailure(std::atomic<std::size_t>& first, std::size_t job) {
    std::size_t seen = first.load();
    while (job < seen && !first.compare_exchange_weak(seen, job)) {
    }
}

} // namespace

OrderedWorkResult runOrdered(std::size_t count, std::size_t threads,
                             const std::function<bool(std::size_t job)>& job,
                             const std::function<bool(std::size_t done)>& progress) {
    OrderedWorkResult result;
    result.done.assign(count, 0);
    SharedState state;
    auto work = [&](bool reporting) {
        for (;;) {
            if (reporting && progress && !progress(state.finished.load())) {
                state.stop = true;
                result.stopped = true;
            }
            if (state.stop.load())
                return;
            const std::size_t i = state.next.fetch_add(1);
            if (i >= count || i > state.firstFailure.load())
                return;
            bool ok = false;
            try {
                ok = job(i);
            } catch (...) {
            }
            if (ok)
                result.done[i] = 1;
            else
                noteFailure(state.firstFailure, i);
            state.finished.fetch_add(1);
        }
    };
    {
        std::vector<std::jthread> workers;
        for (std::size_t t = 1; t < std::min(threads, count); ++t) {
            try {
                workers.emplace_back(work, false);
            } catch (const std::system_error&) {
                break;
            }
        }
        work(true);
    } // the workers are joined here
    if (state.firstFailure.load() != kNone)
        result.firstFailure = state.firstFailure.load();
    return result;
}

} // namespace kelvoro
