// The failure of every host file: body, vessel class, coefficient table, scenario.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

namespace aeroquin::host {

// what() is "<file>:<line>: <detail>", or "<file>: <detail>" when no line applies (line 0).
// The file is named as the user knows it, relative to the root folder.
class HostFileError : public std::runtime_error {
  public:
    HostFileError(const std::string& file, int line, const std::string& detail);

    [[nodiscard]] const std::string& file() const { return file_; }
    [[nodiscard]] int line() const { return line_; }

  private:
    std::string file_;
    int line_;
};

// Why `path` is no file to read: "not found", "is a directory", "is not a regular file", or the
// system's own reason ("File name too long", "Permission denied"); empty when it is one.
[[nodiscard]] std::string whyNotAFile(const std::filesystem::path& path);

}  // namespace aeroquin::host
