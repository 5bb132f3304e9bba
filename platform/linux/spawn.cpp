#include "platform/linux/spawn.h"
#include "platform/linux/uniquefd.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

extern char** environ;

namespace kelvoro::platform {

namespace {

bool isExecutableFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

} // namespace

std::string findProgram(const std::string& name) {
    if (name.empty())
        return {};
    if (name.find('/') != std::string::npos)
        return isExecutableFile(name) ? name : std::string();
    const char* pathVariable = std::getenv("PATH");
    const std::string searchPath = pathVariable ? pathVariable : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= searchPath.size()) {
        const std::size_t end = std::min(searchPath.find(':', start), searchPath.size());
        const std::string directory =
            end > start ? searchPath.substr(start, end - start) : std::string(".");
        const std::string candidate = directory + '/' + name;
        if (isExecutableFile(candidate))
            return candidate;
        start = end + 1;
    }
    return {};
}

bool spawnDetached(const std::vector<std::string>& argv, const std::string& workingDirectory) {
    // execve takes C strings: a NUL byte would start the program on a shorter argument.
    if (argv.empty() || std::any_of(argv.begin(), argv.end(), [](const std::string& a) {
            return a.find('\0') != std::string::npos;
        }))
        return false;
    const std::string program = findProgram(argv.front());
    if (program.empty())
        return false;
    // Everything the children use is made here: after fork only async-signal-safe calls.
    std::vector<std::string> arguments = argv;
    std::vector<char*> pointers;
    for (std::string& a : arguments)
        pointers.push_back(a.data());
    pointers.push_back(nullptr);
    const char* directory = workingDirectory.empty() ? nullptr : workingDirectory.c_str();

    // The grandchild reports a failed exec through this pipe; a successful exec closes it.
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0)
        return false;
    linuxos::UniqueFd readEnd(report[0]);
    linuxos::UniqueFd writeEnd(report[1]);
    const pid_t child = ::fork();
    if (child < 0)
        return false;
    if (child == 0) {
        ::setsid();
        const pid_t grandchild = ::fork();
        if (grandchild == 0) {
            if (directory && ::chdir(directory) != 0) {
                const int error = errno;
                [[maybe_unused]] const auto n = ::write(writeEnd.get(), &error, sizeof error);
                ::_exit(127);
            }
            ::execve(program.c_str(), pointers.data(), environ);
            const int error = errno;
            [[maybe_unused]] const auto n = ::write(writeEnd.get(), &error, sizeof error);
            ::_exit(127);
        }
        ::_exit(grandchild < 0 ? 1 : 0);
    }
    writeEnd.reset();
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t n = 0;
    do {
        n = ::read(readEnd.get(), &error, sizeof error);
    } while (n < 0 && errno == EINTR);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 && n == 0;
}

} // namespace kelvoro::platform
