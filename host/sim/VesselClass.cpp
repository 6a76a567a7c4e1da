#include "host/sim/VesselClass.h"

#include <system_error>
#include <utility>

#include "host/sim/PlainName.h"

namespace aeroquin::host {

VesselClass VesselClass::fromItems(const ItemFile& items, std::string name,
                                   const std::filesystem::path& folder,
                                   const std::string& folderName) {
    VesselClass vesselClass;
    vesselClass.name = std::move(name);
    vesselClass.mass = items.requirePositive("Mass");
    vesselClass.referenceArea = items.requirePositive("ReferenceArea");
    vesselClass.landedHeight = items.optionalNumber("LandedHeight", 0.0);
    if (vesselClass.landedHeight < 0.0) {
        throw items.error("LandedHeight", "LandedHeight must not be negative");
    }
    if (const auto table = items.find("AeroTable")) {
        if (!isPlainName(*table)) {
            throw items.error("AeroTable", "AeroTable must name a file beside the class file");
        }
        // A name the file system refuses (too long, say) is a file that is not there.
        std::error_code error;
        if (!std::filesystem::is_regular_file(folder / *table, error)) {
            throw items.error("AeroTable", "AeroTable " + folderName + "/" + *table + " not found");
        }
        vesselClass.aeroTable = AeroTable::load(folder / *table, folderName + "/" + *table);
    }
    return vesselClass;
}

VesselClass VesselClass::load(const std::filesystem::path& root, const std::string& name) {
    const std::filesystem::path folder = root / "Config" / "Vessels";
    const std::string file = name + ".cfg";
    return fromItems(ItemFile::load(folder / file, "Config/Vessels/" + file), name, folder,
                     "Config/Vessels");
}

}  // namespace aeroquin::host
