#include "properties/photodatescan.h"

#include <algorithm>

namespace kelvoro {

namespace {
// Opening files is mostly waiting for the disk; a few more threads than cores keep it busy.
constexpr unsigned kMaxThreads = 8;
} // namespace

PhotoDateScan::PhotoDateScan(std::vector<std::string> paths, Reader reader)
    : m_paths(std::move(paths)), m_reader(std::move(reader)), m_dates(m_paths.size()) {
    const std::size_t threads = std::min<std::size_t>(
        {m_paths.size(), std::max(2u, std::thread::hardware_concurrency()), kMaxThreads});
    for (std::size_t i = 0; i < threads; ++i)
        m_threads.emplace_back([this] { work(); });
}

PhotoDateScan::~PhotoDateScan() {
    m_stop.store(true);
    wait();
}

void PhotoDateScan::wait() {
    for (std::thread& t : m_threads)
        if (t.joinable())
            t.join();
}

void PhotoDateScan::work() {
    while (!m_stop.load(std::memory_order_relaxed)) {
        const std::size_t i = m_next.fetch_add(1, std::memory_order_relaxed);
        if (i >= m_paths.size())
            return;
        m_dates[i] = m_reader(m_paths[i]);
        m_done.fetch_add(1, std::memory_order_release);
    }
}

} // namespace kelvoro
