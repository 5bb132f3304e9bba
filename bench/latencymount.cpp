#include "bench/latencymount.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <stdexcept>
#include <thread>
#include <vector>

extern char** environ;

namespace kelvoro::bench {

namespace {

bool isMounted(const std::string& mountPoint) {
    struct stat here {};
    struct stat parent {};
    return ::stat(mountPoint.c_str(), &here) == 0 &&
           ::stat((mountPoint + "/..").c_str(), &parent) == 0 && here.st_dev != parent.st_dev;
}

void unmount(const std::string& mountPoint) {
    const char* args[] = {"fusermount3", "-u", "-q", mountPoint.c_str(), nullptr};
    pid_t pid = -1;
    if (::posix_spawnp(&pid, args[0], nullptr, nullptr, const_cast<char**>(args), environ) == 0)
        ::waitpid(pid, nullptr, 0);
}

} // namespace

LatencyMount::LatencyMount(const std::string& program, const std::string& source,
                           const std::string& mountPoint, double latencyMs)
    : m_mountPoint(mountPoint) {
    ::mkdir(mountPoint.c_str(), 0755);
    const std::string latency = std::to_string(latencyMs);
    const char* args[] = {program.c_str(), "--latency-ms",     latency.c_str(),
                          source.c_str(),  mountPoint.c_str(), nullptr};
    const int error =
        ::posix_spawn(&m_pid, program.c_str(), nullptr, nullptr, const_cast<char**>(args), environ);
    if (error != 0)
        throw std::runtime_error(program + ": " + std::strerror(error));
    for (int waited = 0; !isMounted(mountPoint); waited += 10) {
        const bool ended = ::waitpid(m_pid, nullptr, WNOHANG) == m_pid;
        if (ended || waited > 10000) {
            if (!ended) {
                ::kill(m_pid, SIGKILL);
                ::waitpid(m_pid, nullptr, 0);
            }
            m_pid = -1;
            throw std::runtime_error("the latency file system did not mount at " + mountPoint);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

LatencyMount::~LatencyMount() {
    if (m_pid > 0) {
        ::kill(m_pid, SIGTERM);
        ::waitpid(m_pid, nullptr, 0);
    }
    if (isMounted(m_mountPoint))
        unmount(m_mountPoint);
    ::rmdir(m_mountPoint.c_str());
}

bool LatencyMount::available(std::string* why) {
    const int fd = ::open("/dev/fuse", O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        *why = std::string("/dev/fuse: ") + std::strerror(errno);
        return false;
    }
    ::close(fd);
    if (::access("/usr/bin/fusermount3", X_OK) != 0 && ::access("/bin/fusermount3", X_OK) != 0) {
        *why = "fusermount3 is not installed (package fuse3)";
        return false;
    }
    return true;
}

} // namespace kelvoro::bench
