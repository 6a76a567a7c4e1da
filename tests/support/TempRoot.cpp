#include "tests/support/TempRoot.h"

#include <stdlib.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

namespace aeroquin::testsupport {

namespace fs = std::filesystem;

TempRoot::TempRoot(const std::string& example, const fs::path& parent) {
    std::string pattern =
        ((parent.empty() ? fs::temp_directory_path() : parent) / "aeroquin-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::system_error(errno, std::generic_category(), "mkdtemp " + pattern);
    }
    path_ = pattern;
    if (!example.empty()) {
        fs::copy(fs::path(AEROQUIN_EXAMPLES_DIR) / example, path_, fs::copy_options::recursive);
    }
}

TempRoot::~TempRoot() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

void TempRoot::write(const std::string& relative, std::string_view bytes) const {
    const fs::path file = path_ / relative;
    fs::create_directories(file.parent_path());
    // A new file rather than a truncated one: ext4 flushes a truncated file to disk on close,
    // which costs the fuzz targets milliseconds per input.
    std::error_code ignored;
    fs::remove(file, ignored);
    std::ofstream out(file, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        throw std::runtime_error("cannot write " + file.string());
    }
}

void TempRoot::remove(const std::string& relative) const {
    fs::remove_all(path_ / relative);
}

bool TempRoot::exists(const std::string& relative) const {
    return fs::exists(path_ / relative);
}

std::string TempRoot::read(const std::string& relative) const {
    std::ifstream in(path_ / relative, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> TempRoot::lines(const std::string& relative) const {
    return splitLines(read(relative));
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

std::vector<std::string> TempRoot::logLinesStartingWith(std::string_view prefix) const {
    std::vector<std::string> found = logLines();
    std::erase_if(found, [&](const std::string& line) { return !line.starts_with(prefix); });
    return found;
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

}  // namespace aeroquin::testsupport

namespace aeroquin::testsupport {

std::vector<std::string> withoutHeaderItems(std::vector<std::string> report,
                                            std::vector<std::string>* items) {
    constexpr std::ptrdiff_t kCounts = 5;  // the lines before them
    auto end = report.begin() + std::min<std::ptrdiff_t>(kCounts, std::ssize(report));
    const auto first = end;
    while (end != report.end() && end->find(" = ") != std::string::npos &&
           end->rfind("Mach Number", 0) != 0) {
        ++end;
    }
    if (items != nullptr) {
        items->assign(first, end);
    }
    report.erase(first, end);
    return report;
}

}  // namespace aeroquin::testsupport
