#include "bench/figures.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
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

} // namespace kelvoro::bench
