// The failure of every configuration step.
#pragma once

#include <exception>
#include <memory>
#include <string>

namespace aeroquin {

// what() is "Configuration Error" followed by the detail, which begins with " - ".
class ConfigurationError : public std::exception {
  public:
    explicit ConfigurationError(const std::string& detail);
    [[nodiscard]] const char* what() const noexcept override;

  private:
    // Shared, so that copying the error (as throwing and catching may do) cannot throw.
    std::shared_ptr<const std::string> message_;
};

}  // namespace aeroquin
