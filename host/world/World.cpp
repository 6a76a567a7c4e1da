#include "host/world/World.h"

#include <map>
#include <set>
#include <system_error>

namespace aeroquin::host {

World World::load(const std::filesystem::path& root, const std::string& scenario) {
    return build(root, Scenario::load(root, scenario));
}

World World::build(const std::filesystem::path& root, const Scenario& scenario) {
    World world;
    world.stepSize_ = scenario.stepSizeS;
    if (scenario.body) {
        const std::string file = "Config/" + *scenario.body + ".cfg";
        if (const std::string why = whyNotAFile(root / file); !why.empty()) {
            throw HostFileError(scenario.file, scenario.bodyLine,
                                "body " + *scenario.body + ": " + file + " " + why);
        }
        world.body_ = std::make_unique<Body>(Body::load(root, *scenario.body));
    }

    std::map<std::string, std::shared_ptr<const VesselClass>> classes;
    world.vessels_.reserve(scenario.vessels.size());
    for (const VesselPlacement& placement : scenario.vessels) {
        auto& vesselClass = classes[placement.className];
        if (!vesselClass) {
            const std::string file = "Config/Vessels/" + placement.className + ".cfg";
            if (const std::string why = whyNotAFile(root / file); !why.empty()) {
                std::string detail = "vessel class " + placement.className;
                detail.append(": ").append(file).append(" ").append(why);
                throw HostFileError(scenario.file, placement.line, detail);
            }
            vesselClass =
                std::make_shared<const VesselClass>(VesselClass::load(root, placement.className));
        }
        Vessel& vessel = world.vessels_.emplace_back(placement.name, vesselClass, world.body_.get(),
                                                     world.time_);
        if (placement.status == StartStatus::Landed && !placement.attitudeRad) {
            vessel.placeUpright(placement.longitudeRad, placement.latitudeRad,
                                placement.headingRad);
        } else if (placement.status == StartStatus::Landed) {
            vessel.placeLanded(placement.longitudeRad, placement.latitudeRad,
                               *placement.attitudeRad);
        } else {
            vessel.placeFlying(placement.longitudeRad, placement.latitudeRad, placement.altitudeM,
                               placement.attitudeRad.value_or(Vec3{}));
        }
    }
    return world;
}

Vessel* World::findVessel(std::string_view name) {
    for (Vessel& vessel : vessels_) {
        if (vessel.name() == name) {
            return &vessel;
        }
    }
    return nullptr;
}

void World::checkCoefficientFunctions(const InterfaceOf& interfaceOf) const {
    std::set<const VesselClass*> checked;
    for (const Vessel& vessel : vessels_) {
        if (checked.insert(&vessel.vesselClass()).second) {
            vessel.checkCoefficientFunctions(interfaceOf ? interfaceOf(vessel) : nullptr);
        }
    }
}

std::vector<std::string> World::step(double dt, const InterfaceOf& interfaceOf) {
    std::vector<std::string> touchedDown;
    for (Vessel& vessel : vessels_) {
        if (vessel.step(dt, interfaceOf ? interfaceOf(vessel) : nullptr)) {
            touchedDown.push_back(vessel.name());
        }
    }
    time_ += dt;
    return touchedDown;
}

}  // namespace aeroquin::host
