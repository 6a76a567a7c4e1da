// The failure of every configuration step.
#pragma once

#include <exception>
#include <string>

namespace aeroquin {

// what() is "Configuration Error" followed by the detail, which begins with " - ".
class ConfigurationError : public std::exception {
  public:
    explicit ConfigurationError(const std::string& detail);
    [[nodiscard]] const char* what() const noexcept override;

  private:
    std::string message_;
};

}  // namespace aeroquin
