#include "bench/benchtools.h"

#include "filelist/filelistmodel.h"
#include "platform/dosattrib.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>

extern char** environ;

namespace kelvoro::bench {

[[noreturn]] void fail(const std::string& what) {
    throw std::runtime_error(what);
}

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Resident set size of this process in kB.
long residentKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    fail("no VmRSS in /proc/self/status");
}

std::string fileSystemName(const std::string& path) {
    struct statfs fs {};
    if (::statfs(path.c_str(), &fs) != 0)
        return "?";
    switch (static_cast<unsigned long>(fs.f_type)) {
    case 0xEF53:
        return "ext2/3/4";
    case 0x58465342:
        return "xfs";
    case 0x9123683E:
        return "btrfs";
    case 0x01021994:
        return "tmpfs";
    default: {
        char hex[32];
        std::snprintf(hex, sizeof hex, "0x%lx", static_cast<unsigned long>(fs.f_type));
        return hex;
    }
    }
}

std::string fileName(long i) {
    char name[64];
    std::snprintf(name, sizeof name, "d%03ld/IMG_%06ld.JPG", i / kFilesPerDirectory, i);
    return name;
}

Tree::Tree(const std::string& parent, long files, Lifetime lifetime)
    : m_kept(lifetime != Lifetime::Temporary) {
    if (!m_kept) {
        std::string pattern = parent + "/kelvoro-bench.XXXXXX";
        if (!::mkdtemp(pattern.data()))
            fail("cannot create a directory in " + parent + ": " + std::strerror(errno));
        m_root = pattern;
        make(files);
        return;
    }
    m_root = parent + "/kelvoro-bench-tree-" + std::to_string(files);
    // The mark goes while this run renames and changes the files: a run that stops half-way
    // leaves a tree the next run makes anew.
    std::error_code error;
    m_reused = lifetime == Lifetime::Kept && std::filesystem::remove(completeMark(), error);
    if (m_reused) {
        m_paths.reserve(static_cast<std::size_t>(files));
        for (long i = 0; i < files; ++i)
            m_paths.push_back(m_root + "/" + fileName(i));
        return;
    }
    std::filesystem::remove_all(m_root, error);
    if (::mkdir(m_root.c_str(), 0755) != 0)
        fail("cannot create " + m_root + ": " + std::strerror(errno));
    make(files);
}

void Tree::make(long files) {
    m_paths.reserve(static_cast<std::size_t>(files));
    for (long i = 0; i < files; ++i) {
        std::string path = m_root + "/" + fileName(i);
        if (i % kFilesPerDirectory == 0) {
            const std::string d = path.substr(0, path.rfind('/'));
            if (::mkdir(d.c_str(), 0755) != 0)
                fail("cannot create " + d + ": " + std::strerror(errno));
        }
        const int fd = ::open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0644);
        if (fd < 0)
            fail("cannot create " + path + ": " + std::strerror(errno));
        ::close(fd);
        m_paths.push_back(std::move(path));
    }
}

void Tree::keep() {
    if (!m_kept)
        return;
    const int fd = ::open(completeMark().c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
    if (fd >= 0)
        ::close(fd);
}

Tree::~Tree() {
    if (m_kept)
        return;
    std::error_code ignored;
    std::filesystem::remove_all(m_root, ignored);
}

std::string run(const std::vector<std::string>& argv, const std::string& input,
                const std::vector<std::string>& extraEnvironment,
                const std::function<void(const std::string&)>& onFirstLine) {
    int in[2];
    int out[2];
    if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0)
        fail("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    std::vector<std::string> environment;
    for (char** e = environ; *e; ++e)
        environment.emplace_back(*e);
    for (const std::string& e : extraEnvironment)
        environment.push_back(e);
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    std::vector<char*> env;
    for (std::string& e : environment)
        env.push_back(e.data());
    env.push_back(nullptr);
    pid_t pid = 0;
    const int error = ::posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), env.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(in[0]);
    ::close(out[1]);
    if (error != 0) {
        ::close(in[1]);
        ::close(out[0]);
        fail("cannot start " + argv[0] + ": " + std::strerror(error));
    }
    // Small outputs only: write all input first, then read.
    std::size_t written = 0;
    while (written < input.size()) {
        const ssize_t n = ::write(in[1], input.data() + written, input.size() - written);
        if (n <= 0)
            break;
        written += static_cast<std::size_t>(n);
    }
    ::close(in[1]);
    std::string output;
    char buffer[4096];
    bool lineSeen = false;
    for (;;) {
        const ssize_t n = ::read(out[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        output.append(buffer, static_cast<std::size_t>(n));
        if (!lineSeen && onFirstLine && output.find('\n') != std::string::npos) {
            lineSeen = true;
            onFirstLine(output.substr(0, output.find('\n')));
        }
    }
    ::close(out[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        fail(argv[0] + " failed");
    return output;
}

// One figure beside its reference.
void report(const char* what, double value, const char* unit, const char* reference,
            double referenceValue, const char* goal, bool met) {
    std::printf("%-34s %9.1f %-3s %-26s %9.1f %-3s x%5.2f  %s%s\n", what, value, unit, reference,
                referenceValue, unit, referenceValue > 0 ? value / referenceValue : 0.0, goal,
                *goal ? (met ? "  ok" : "  MISSED") : "");
}

void reportPlain(const char* what, double value, const char* unit, const char* goal, bool met) {
    std::printf("%-34s %9.1f %-3s %-26s %9s %-3s %6s  %s%s\n", what, value, unit, "", "", "", "",
                goal, met ? "  ok" : "  MISSED");
}

// The bytes of a row's path, for the system calls of the floors.
std::vector<std::string> rowPaths(const FileListModel& model) {
    std::vector<std::string> paths;
    paths.reserve(static_cast<std::size_t>(model.rowCount()));
    for (int r = 0; r < model.rowCount(); ++r)
        paths.push_back(model.row(r).path().toStdString());
    return paths;
}

std::string nulSeparated(const std::vector<std::string>& paths) {
    std::string input;
    for (const std::string& p : paths)
        input.append(p).push_back('\0');
    return input;
}

void statxEach(const std::vector<std::string>& paths) {
    struct statx sx {};
    for (const std::string& p : paths)
        if (::statx(AT_FDCWD, p.c_str(), AT_STATX_SYNC_AS_STAT, STATX_BASIC_STATS | STATX_BTIME,
                    &sx) != 0)
            fail("statx " + p);
}

void saveEach(const std::vector<std::string>& paths, std::int64_t stamp, bool archive) {
    const std::string blob = platform::encodeDosAttrib(
        {archive ? platform::attr::Archive : 0u, std::optional<std::int64_t>(stamp)});
    const struct timespec times[2] = {{stamp, 0}, {stamp, 0}};
    struct statx sx {};
    char buffer[256];
    for (const std::string& p : paths) {
        const char* c = p.c_str();
        ::statx(AT_FDCWD, c, AT_STATX_SYNC_AS_STAT, STATX_BASIC_STATS | STATX_BTIME, &sx);
        ::getxattr(c, "user.DOSATTRIB", buffer, sizeof buffer);
        if (::setxattr(c, "user.DOSATTRIB", blob.data(), blob.size(), 0) != 0 ||
            ::utimensat(AT_FDCWD, c, times, 0) != 0)
            fail("the floor could not write " + p);
        ::statx(AT_FDCWD, c, AT_STATX_SYNC_AS_STAT, STATX_BASIC_STATS | STATX_BTIME, &sx);
        ::getxattr(c, "user.DOSATTRIB", buffer, sizeof buffer);
    }
}

void moveEach(const std::vector<std::string>& from, const std::vector<std::string>& to) {
    for (std::size_t i = 0; i < from.size(); ++i)
        if (::renameat2(AT_FDCWD, from[i].c_str(), AT_FDCWD, to[i].c_str(), RENAME_NOREPLACE) != 0)
            fail("cannot rename " + from[i]);
}

} // namespace kelvoro::bench
