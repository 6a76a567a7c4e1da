// A vessel class: mass, reference area and optional coefficient table.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "host/sim/AeroTable.h"
#include "host/sim/ItemFile.h"

namespace aeroquin::host {

struct VesselClass {
    std::string name;
    double mass = 0.0;                   // kg
    double referenceArea = 0.0;          // m^2
    double landedHeight = 0.0;           // m, centre of gravity above the ground when landed
    std::optional<AeroTable> aeroTable;  // none: no aerodynamic force

    // Items Mass, ReferenceArea (both > 0), optional LandedHeight (m, >= 0, default 0),
    // optional AeroTable: a file name resolved against
    // `folder` and named "<folderName>/<file>" in messages. Throws HostFileError.
    static VesselClass fromItems(const ItemFile& items, std::string name,
                                 const std::filesystem::path& folder,
                                 const std::string& folderName);
    // Reads root/Config/Vessels/<name>.cfg. A missing file is HostFileError
    // "Config/Vessels/<name>.cfg: cannot be read".
    static VesselClass load(const std::filesystem::path& root, const std::string& name);
};

}  // namespace aeroquin::host
