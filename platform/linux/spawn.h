#pragma once

#include <string>
#include <vector>

namespace kelvoro::platform {

// The executable a command name runs: a name with a slash as it is, else the first
// executable regular file of that name on PATH. Empty when there is none.
std::string findProgram(const std::string& name);

// Starts argv[0] (looked up on PATH) with exactly these argument bytes in its own session and
// returns at once: nothing waits for the program and no zombie is left. The working directory
// is the caller's unless one is given. False when the program cannot be found or started.
bool spawnDetached(const std::vector<std::string>& argv, const std::string& workingDirectory = {});

} // namespace kelvoro::platform
