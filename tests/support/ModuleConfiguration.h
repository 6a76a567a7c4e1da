// The module's configuration file, item by item.
#pragma once

#include <array>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

#include "tests/support/TempRoot.h"

namespace aeroquin::testsupport {

// Where the module reads it below a root.
inline constexpr const char* kModuleConfigFile = "Config/Modules/Plugin/Aeroquin.cfg";

// The seven items in the order the module reads them; by default 2 AOA x 2 Mach points for the
// vessel "Probe". An empty value leaves its item out of the file.
struct ModuleConfiguration {
    std::string vesselName = "Probe";
    std::string saveDirectory = "Reports";
    std::string reportNameStyle = "0";
    std::string aoaIntervals = "0 10";
    std::string aoaIncrements = "1";
    std::string machIntervals = "0.5 1";
    std::string machIncrements = "1";

    static constexpr std::array<std::pair<std::string_view, std::string ModuleConfiguration::*>, 7>
        kItems{{{"VesselName", &ModuleConfiguration::vesselName},
                {"SaveDirectory", &ModuleConfiguration::saveDirectory},
                {"ReportNameStyle", &ModuleConfiguration::reportNameStyle},
                {"AoaIntervals", &ModuleConfiguration::aoaIntervals},
                {"AoaIncrements", &ModuleConfiguration::aoaIncrements},
                {"MachIntervals", &ModuleConfiguration::machIntervals},
                {"MachIncrements", &ModuleConfiguration::machIncrements}}};

    // The item named `key`, as spelled in kItems.
    ModuleConfiguration& set(std::string_view key, std::string value) {
        for (const auto& [name, member] : kItems) {
            if (name == key) {
                this->*member = std::move(value);
                return *this;
            }
        }
        throw std::invalid_argument("no configuration item " + std::string(key));
    }

    // "Key = value" lines.
    [[nodiscard]] std::string text() const {
        std::string text;
        for (const auto& [name, member] : kItems) {
            if (!(this->*member).empty()) {
                text.append(name).append(" = ").append(this->*member).append("\n");
            }
        }
        return text;
    }
};

// Writes the configuration to kModuleConfigFile below the root.
inline void configure(const TempRoot& root, const ModuleConfiguration& configuration) {
    root.write(kModuleConfigFile, configuration.text());
}

}  // namespace aeroquin::testsupport
