#include "tests/host/TestRoot.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace aeroquin::host::test {

TestRoot::TestRoot() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "aeroquin-host-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("no temporary folder");
    }
    path_ = pattern;
    write("Scenarios/Default.scn", "Body = None\n");
}

TestRoot::~TestRoot() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void TestRoot::write(const std::string& relative, const std::string& content) const {
    const auto file = path_ / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    out << content;
}

std::string TestRoot::read(const std::string& relative) const {
    std::ifstream in(path_ / relative, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

bool TestRoot::exists(const std::string& relative) const {
    return std::filesystem::exists(path_ / relative);
}

void TestRoot::configurePlugin(const std::string& items) const {
    write("Config/Modules/Plugin/TestPlugin.cfg", items);
}

void TestRoot::addFlatWorld() const {
    // GM = 6.67259e-11 * Mass = 6.25e12; T = p0 / (rho0 R) = 250 K.
    write("Config/Flat.cfg",
          "Size = 1e6\nMass = 9.366677706857458e22\nSidRotPeriod = 1e30\n"
          "Atmosphere = Isothermal\nAtmGasConstant = 250\nAtmGamma = 1.44\n"
          "AtmPressure0 = 100000\nAtmDensity0 = 1.6\n");
    write("Config/Vessels/Probe.cfg", "Mass = 1000\nReferenceArea = 10\n");
    write("Scenarios/Default.scn",
          "Body = Flat\nVessels = P1:Probe\nP1.Status = Flying\nP1.Altitude = 20000\n");
}

HostOutcome TestRoot::run(const std::vector<std::string>& args, bool onTerminal) const {
    std::vector<std::string> all{"--root", path_.string(), "--module", AEROQUIN_TEST_PLUGIN};
    all.insert(all.end(), args.begin(), args.end());
    return runProcess(AEROQUIN_HOST_EXE, all, path_, onTerminal);
}

HostOutcome TestRoot::runBare(const std::vector<std::string>& args) const {
    return runProcess(AEROQUIN_HOST_EXE, args, path_);
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> TestRoot::logLines() const {
    return splitLines(log());
}

std::vector<std::string> TestRoot::logLinesStartingWith(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const auto& line : logLines()) {
        if (line.starts_with(prefix)) {
            found.push_back(line);
        }
    }
    return found;
}

}  // namespace aeroquin::host::test
