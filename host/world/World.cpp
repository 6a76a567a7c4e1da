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
        vessel.setHolds(placement.holds);
        if (placement.deletedAfterFrame) {
            world.deletions_.emplace_back(&vessel, *placement.deletedAfterFrame);
        }
        if (placement.createdAfterFrame) {
            // Out of the simulation until then.
            vessel.markDeleted();
            world.creations_.emplace_back(&vessel, *placement.createdAfterFrame);
        }
    }
    // Scenario::fromItems has checked the parents, rings included.
    for (std::size_t i = 0; i < scenario.vessels.size(); ++i) {
        const VesselPlacement& placement = scenario.vessels[i];
        const bool docked = !placement.dockedTo.empty();
        const std::string& other = docked ? placement.dockedTo : placement.attachedTo;
        if (other.empty()) {
            continue;
        }
        Vessel* parent = nullptr;
        for (Vessel& vessel : world.vessels_) {
            parent = vessel.name() == other ? &vessel : parent;
        }
        if (parent == nullptr || parent == &world.vessels_[i]) {
            throw HostFileError(scenario.file, placement.line,
                                placement.name + " hangs on no other vessel of the scenario");
        }
        const std::uint64_t after = placement.attachedAfterFrame.value_or(0);
        world.attachments_.push_back({parent, &world.vessels_[i], after == 0, docked, after});
    }
    world.followParents();
    return world;
}

const Vessel* World::parentOf(const Vessel& child) const {
    for (const Attachment& attachment : attachments_) {
        if (attachment.attached && attachment.child == &child) {
            return attachment.parent;
        }
    }
    return nullptr;
}

void World::followParents() {
    for (const Attachment& attachment : attachments_) {
        if (attachment.attached) {
            // The scenario refuses rings: every chain ends at a free vessel.
            const Vessel* top = attachment.parent;
            while (const Vessel* up = parentOf(*top)) {
                top = up;
            }
            attachment.child->followParent(*top);
        }
    }
}

Vessel* World::findVessel(std::string_view name) {
    for (Vessel& vessel : vessels_) {
        if (!vessel.deleted() && vessel.name() == name) {
            return &vessel;
        }
    }
    return nullptr;
}

void World::checkCoefficientFunctions(const InterfaceOf& interfaceOf) const {
    std::set<const VesselClass*> checked;
    for (const Vessel& vessel : vessels_) {
        if (checked.insert(&vessel.vesselClass()).second) {
            probeCoefficientFunctions(vessel.vesselClass(),
                                      interfaceOf ? interfaceOf(vessel) : nullptr);
        }
    }
}

std::vector<std::string> World::step(double dt, const InterfaceOf& interfaceOf) {
    std::vector<std::string> touchedDown;
    // As the simulator: every vessel's levels first, then the motion.
    for (Vessel& vessel : vessels_) {
        if (!vessel.deleted()) {
            vessel.updateControls(dt);
        }
    }
    for (Vessel& vessel : vessels_) {
        if (vessel.deleted() || parentOf(vessel) != nullptr) {
            continue;
        }
        if (vessel.step(dt, interfaceOf ? interfaceOf(vessel) : nullptr)) {
            touchedDown.push_back(vessel.name());
        }
    }
    followParents();
    time_ += dt;
    return touchedDown;
}

std::vector<std::string> World::deleteVessels(
    std::uint64_t frame, const std::function<void(const Vessel&)>& beforeEach) {
    std::vector<std::string> deleted;
    for (const auto& [vessel, afterFrame] : deletions_) {
        if (afterFrame != frame || vessel->deleted()) {
            continue;
        }
        if (beforeEach) {
            beforeEach(*vessel);
        }
        vessel->markDeleted();
        for (Attachment& attachment : attachments_) {
            if (attachment.parent == vessel || attachment.child == vessel) {
                attachment.attached = false;
            }
        }
        deleted.push_back(vessel->name());
    }
    return deleted;
}

std::vector<Vessel*> World::changeAfter(std::uint64_t frame) {
    std::vector<Vessel*> created;
    for (const auto& [vessel, afterFrame] : creations_) {
        if (afterFrame == frame) {
            vessel->markCreated();
            created.push_back(vessel);
        }
    }
    for (Attachment& attachment : attachments_) {
        if (attachment.madeAfterFrame == frame && !attachment.parent->deleted() &&
            !attachment.child->deleted()) {
            attachment.attached = true;
        }
    }
    followParents();
    return created;
}

}  // namespace aeroquin::host
