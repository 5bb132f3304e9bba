#pragma once

#include "common/timetext.h"

#include <atomic>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace kelvoro {

// Reads the photo dates of many files on background threads, so that a window stays
// responsive while thousands of files are opened. The results may be read once finished().
class PhotoDateScan {
public:
    using Reader = std::function<std::optional<CalendarTime>(const std::string& path)>;

    // `reader` is called from several threads at once.
    PhotoDateScan(std::vector<std::string> paths, Reader reader);
    // Stops at the next file and waits for the threads.
    ~PhotoDateScan();
    PhotoDateScan(const PhotoDateScan&) = delete;
    PhotoDateScan& operator=(const PhotoDateScan&) = delete;

    std::size_t total() const { return m_paths.size(); }
    std::size_t done() const { return m_done.load(std::memory_order_acquire); }
    bool finished() const { return done() == total(); }
    // Blocks until every file is read.
    void wait();
    // In the order of the paths; only once finished().
    const std::vector<std::optional<CalendarTime>>& dates() const { return m_dates; }

private:
    void work();

    std::vector<std::string> m_paths;
    Reader m_reader;
    std::vector<std::optional<CalendarTime>> m_dates;
    std::atomic<std::size_t> m_next{0};
    std::atomic<std::size_t> m_done{0};
    std::atomic<bool> m_stop{false};
    std::vector<std::thread> m_threads;
};

} // namespace kelvoro
