#include "host/support/HostFileError.h"

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

std::string whyNotAFile(const std::filesystem::path& path) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found ||
        error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory) {
        return "not found";
    }
    if (error) {
        return error.message();
    }
    if (status.type() == std::filesystem::file_type::directory) {
        return "is a directory";
    }
    if (status.type() != std::filesystem::file_type::regular) {
        return "is not a regular file";
    }
    return {};
}

}  // namespace aeroquin::host
