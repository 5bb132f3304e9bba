#pragma once

#include <string>

#include <sys/types.h>

namespace kelvoro::bench {

// The latency file system mounted for the life of the object: `source` seen at `mountPoint`
// (made when missing), every operation `latencyMs` late.
class LatencyMount {
public:
    // Throws std::runtime_error when the mount does not come up.
    LatencyMount(const std::string& program, const std::string& source,
                 const std::string& mountPoint, double latencyMs);
    ~LatencyMount();
    LatencyMount(const LatencyMount&) = delete;
    LatencyMount& operator=(const LatencyMount&) = delete;

    const std::string& path() const { return m_mountPoint; }

    // Whether this machine lets us mount FUSE file systems at all, and if not, why.
    static bool available(std::string* why);

private:
    std::string m_mountPoint;
    pid_t m_pid = -1;
};

} // namespace kelvoro::bench
