#include "tests/e2e/TempRoot.h"

#include <stdlib.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace e2e {

namespace fs = std::filesystem;

TempRoot::TempRoot(const std::string& example) {
    std::string pattern = (fs::temp_directory_path() / "aeroquin-e2e-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    path_ = pattern;
    fs::copy(fs::path(AEROQUIN_EXAMPLES_DIR) / example, path_, fs::copy_options::recursive);
}

TempRoot::~TempRoot() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

void TempRoot::write(const std::string& relative, const std::string& text) const {
    fs::create_directories((path_ / relative).parent_path());
    std::ofstream(path_ / relative, std::ios::binary) << text;
}

void TempRoot::remove(const std::string& relative) const {
    fs::remove_all(path_ / relative);
}

std::string TempRoot::read(const std::string& relative) const {
    std::ifstream in(path_ / relative, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> TempRoot::lines(const std::string& relative) const {
    std::ifstream in(path_ / relative, std::ios::binary);
    std::vector<std::string> result;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        result.push_back(line);
    }
    return result;
}

std::vector<std::string> TempRoot::files(const std::string& relative) const {
    std::vector<std::string> names;
    if (fs::is_directory(path_ / relative)) {
        for (const auto& entry : fs::directory_iterator(path_ / relative)) {
            if (entry.path().filename() != ".gitkeep") {
                names.push_back(entry.path().filename().string());
            }
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

void TempRoot::configure(const std::string& vessel, const std::string& saveDirectory, int style,
                         const std::string& aoaIntervals, const std::string& aoaIncrements,
                         const std::string& machIntervals,
                         const std::string& machIncrements) const {
    write("Config/Modules/Plugin/Aeroquin.cfg",
          "VesselName = " + vessel + "\nSaveDirectory = " + saveDirectory +
              "\nReportNameStyle = " + std::to_string(style) + "\nAoaIntervals = " + aoaIntervals +
              "\nAoaIncrements = " + aoaIncrements + "\nMachIntervals = " + machIntervals +
              "\nMachIncrements = " + machIncrements + "\n");
}

}  // namespace e2e
