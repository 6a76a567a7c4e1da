// The failure of every host file: body, vessel class, coefficient table, scenario.
#pragma once

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

}  // namespace aeroquin::host
