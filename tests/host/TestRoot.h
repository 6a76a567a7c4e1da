// A root folder made for one test, removed afterwards: Scenarios/Default.scn (empty space, no
// vessel) and whatever the test writes; runs of the host on it with the test plug-in.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tests/host/HostProcess.h"

namespace aeroquin::host::test {

class TestRoot {
  public:
    TestRoot();
    TestRoot(const TestRoot&) = delete;
    TestRoot& operator=(const TestRoot&) = delete;
    ~TestRoot();

    const std::filesystem::path& path() const { return path_; }
    // Writes a file below the root, making its folders.
    void write(const std::string& relative, const std::string& content) const;
    std::string read(const std::string& relative) const;
    bool exists(const std::string& relative) const;

    // The test plug-in's configuration, Config/Modules/Plugin/TestPlugin.cfg.
    void configurePlugin(const std::string& items) const;
    // A flat, slowly turning isothermal body "Flat" and a probe vessel "P1" flying over it.
    void addFlatWorld() const;

    // aeroquin-host --root <root> --module <test plug-in> <args>, run in the root folder.
    HostOutcome run(const std::vector<std::string>& args = {}, bool onTerminal = false) const;
    // aeroquin-host <args> alone.
    HostOutcome runBare(const std::vector<std::string>& args) const;

    std::string log() const { return read("host.log"); }
    std::vector<std::string> logLines() const;
    // Log lines that begin with `prefix`.
    std::vector<std::string> logLinesStartingWith(const std::string& prefix) const;

  private:
    std::filesystem::path path_;
};

std::vector<std::string> splitLines(const std::string& text);

}  // namespace aeroquin::host::test
