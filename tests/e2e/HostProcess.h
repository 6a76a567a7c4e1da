// Runs the real aeroquin-host, with the real Aeroquin module, on a temporary root folder.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "tests/e2e/TempRoot.h"

namespace e2e {

struct HostResult {
    int exitCode = -1;  // the exit status, or 128 + signal
    std::string out;
    std::string err;
};

// The host started in the background; stdout and stderr go to files in the root.
class HostProcess {
  public:
    HostProcess(const TempRoot& root, const std::vector<std::string>& args);
    HostProcess(const HostProcess&) = delete;
    HostProcess& operator=(const HostProcess&) = delete;
    ~HostProcess();  // kills a process still running

    void signal(int number) const;
    HostResult wait();

  private:
    const TempRoot& root_;
    pid_t pid_ = -1;
};

// Runs the host with --root and the module, waits for it, and returns what it printed.
HostResult runHost(const TempRoot& root, const std::vector<std::string>& args = {});

}  // namespace e2e
