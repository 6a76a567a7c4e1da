// Running the real aeroquin-host as a child process.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace aeroquin::host::test {

struct HostOutcome {
    bool exited = false;  // false: ended by a signal
    int exitStatus = -1;
    int signal = 0;
    std::string out;  // stdout
    std::string err;  // stderr
};

// Runs `executable` with `args` in `workDir`, stdin from /dev/null. With `onTerminal`, stdout is
// a pseudo-terminal (as in an interactive shell); otherwise a plain file.
HostOutcome runProcess(const std::filesystem::path& executable,
                       const std::vector<std::string>& args, const std::filesystem::path& workDir,
                       bool onTerminal = false);

}  // namespace aeroquin::host::test
