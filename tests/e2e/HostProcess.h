// Runs the real aeroquin-host, with the real Aeroquin module, on a temporary root folder.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

namespace e2e {

// A root folder copied from one of examples/, removed with everything in it at destruction.
class TempRoot {
  public:
    explicit TempRoot(const std::string& example);
    TempRoot(const TempRoot&) = delete;
    TempRoot& operator=(const TempRoot&) = delete;
    ~TempRoot();

    [[nodiscard]] const std::filesystem::path& path() const { return path_; }
    void write(const std::string& relative, const std::string& text) const;
    void remove(const std::string& relative) const;
    [[nodiscard]] std::string read(const std::string& relative) const;
    // Lines without their line ends; an absent file gives no lines.
    [[nodiscard]] std::vector<std::string> lines(const std::string& relative) const;
    // The files in a folder below the root, by name.
    [[nodiscard]] std::vector<std::string> files(const std::string& relative) const;
    // Writes the module's configuration from its seven values.
    void configure(const std::string& vessel, const std::string& saveDirectory, int style,
                   const std::string& aoaIntervals, const std::string& aoaIncrements,
                   const std::string& machIntervals, const std::string& machIncrements) const;

  private:
    std::filesystem::path path_;
};

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
