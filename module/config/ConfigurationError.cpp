#include "module/config/ConfigurationError.h"

namespace aeroquin {

ConfigurationError::ConfigurationError(const std::string& detail)
    : message_(std::make_shared<const std::string>("Configuration Error" + detail)) {}

const char* ConfigurationError::what() const noexcept {
    return message_->c_str();
}

}  // namespace aeroquin
