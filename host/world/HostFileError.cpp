#include "host/world/HostFileError.h"

namespace aeroquin::host {

namespace {

std::string compose(const std::string& file, int line, const std::string& detail) {
    if (line > 0) {
        return file + ":" + std::to_string(line) + ": " + detail;
    }
    return file + ": " + detail;
}

}  // namespace

HostFileError::HostFileError(const std::string& file, int line, const std::string& detail)
    : std::runtime_error(compose(file, line, detail)), file_(file), line_(line) {}

}  // namespace aeroquin::host
