// Running the real aeroquin-host (or any program) as a child process.
#pragma once

#include <sys/types.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/TempRoot.h"

namespace aeroquin::testsupport {

struct HostResult {
    bool exited = false;  // false: ended by a signal
    int exitStatus = -1;
    int signal = 0;
    std::string out;  // stdout
    std::string err;  // stderr

    // The exit status, or 128 + the signal, as a shell reports it.
    [[nodiscard]] int exitCode() const { return exited ? exitStatus : 128 + signal; }
};

// `executable` with `args`, started in `workDir` with stdin from /dev/null. With `onTerminal`,
// stdout is a pseudo-terminal (as in an interactive shell); otherwise a file.
class HostProcess {
  public:
    HostProcess(const std::filesystem::path& executable, const std::vector<std::string>& args,
                const std::filesystem::path& workDir, bool onTerminal = false);
    HostProcess(const HostProcess&) = delete;
    HostProcess& operator=(const HostProcess&) = delete;
    ~HostProcess();  // kills a process still running

    void signal(int number) const;
    // Waits for the end and returns what the process printed.
    HostResult wait();

  private:
    pid_t pid_ = -1;
    int terminal_ = -1;  // our side of the pseudo-terminal
    std::FILE* out_ = nullptr;
    std::FILE* err_ = nullptr;
};

inline HostResult runProcess(const std::filesystem::path& executable,
                             const std::vector<std::string>& args,
                             const std::filesystem::path& workDir, bool onTerminal = false) {
    return HostProcess(executable, args, workDir, onTerminal).wait();
}

// The host executable and the plug-in library that a test target runs it with.
struct HostUnderTest {
    std::filesystem::path executable;
    std::filesystem::path module;
};

// aeroquin-host --root <root> --module <module> <args>.
std::vector<std::string> hostArgs(const HostUnderTest& host, const TempRoot& root,
                                  std::vector<std::string> args);
// The same, run in the root folder.
HostResult runHost(const HostUnderTest& host, const TempRoot& root,
                   const std::vector<std::string>& args = {}, bool onTerminal = false);

}  // namespace aeroquin::testsupport
