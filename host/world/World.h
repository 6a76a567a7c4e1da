// The simulated world of one run: the body, the vessels, their attachments and the clock.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/world/Body.h"
#include "host/world/Scenario.h"
#include "host/world/Vessel.h"

namespace aeroquin::host {

// Movable, not copyable. The body and the vessels keep their addresses for the world's whole
// lifetime, moves included, so pointers to them can serve as handles.
class World {
  public:
    // root: the root folder; scenario: name without extension. Reads Scenarios/<scenario>.scn,
    // Config/<Body>.cfg and Config/Vessels/<Class>.cfg (and tables). Throws HostFileError.
    static World load(const std::filesystem::path& root, const std::string& scenario);
    // The same from a parsed scenario.
    static World build(const std::filesystem::path& root, const Scenario& scenario);

    World(World&&) noexcept = default;
    World& operator=(World&&) noexcept = default;
    World(const World&) = delete;
    World& operator=(const World&) = delete;
    ~World() = default;

    [[nodiscard]] const Body* body() const { return body_.get(); }  // null in empty space
    [[nodiscard]] std::span<Vessel> vessels() { return vessels_; }
    [[nodiscard]] std::span<const Vessel> vessels() const { return vessels_; }
    // Exact, case-sensitive name; null when none or deleted.
    [[nodiscard]] Vessel* findVessel(std::string_view name);

    // `child` hangs on `parent` by one attachment point on each side (a scenario's AttachedTo),
    // or, `docked`, by one docking port on each side (DockedTo); either way it moves with the
    // parent. Deleting either releases it; the points stay, empty. An attachment made later
    // (AttachedAfterFrame) starts released.
    struct Attachment {
        Vessel* parent = nullptr;
        Vessel* child = nullptr;
        bool attached = true;
        bool docked = false;
        std::uint64_t madeAfterFrame = 0;  // 0: from the start
    };
    // Fixed by load, in the scenario's order; the addresses stay for the world's lifetime.
    [[nodiscard]] std::span<const Attachment> attachments() const { return attachments_; }
    // Each vessel's interface as the simulator's functions serve it, handed to the coefficient
    // functions; the world keeps none. Empty: null for every vessel.
    using InterfaceOf = std::function<VESSEL*(const Vessel&)>;

    // probeCoefficientFunctions (VesselClass.h) for one vessel of each class, with its interface.
    void checkCoefficientFunctions(const InterfaceOf& interfaceOf = {}) const;

    [[nodiscard]] double stepSize() const { return stepSize_; }  // s
    void setStepSize(double dt) { stepSize_ = dt; }
    [[nodiscard]] double time() const { return time_; }  // s since the start

    // Updates every vessel's control levels (Vessel::updateControls), then integrates every
    // free vessel by dt and advances the clock; attached vessels then take their parent's state.
    // Returns the names of the vessels that touched down in this step.
    std::vector<std::string> step(double dt, const InterfaceOf& interfaceOf = {});

    // Deletes the vessels whose scenario item DeletedAfterFrame is `frame` and releases their
    // attachments, as the simulator deletes vessels after the post-step callbacks; their names.
    // `beforeEach` sees each vessel just before it goes, as the simulator's modules do.
    std::vector<std::string> deleteVessels(
        std::uint64_t frame, const std::function<void(const Vessel&)>& beforeEach = {});
    // After the deletions of `frame`: creates the vessels whose CreatedAfterFrame is `frame` and
    // makes the attachments whose AttachedAfterFrame is; the vessels created.
    std::vector<Vessel*> changeAfter(std::uint64_t frame);

  private:
    World() = default;

    // The vessel `child` hangs on now; null when free.
    [[nodiscard]] const Vessel* parentOf(const Vessel& child) const;
    // Every attached vessel at the state of the free vessel at the top of its chain.
    void followParents();

    std::unique_ptr<Body> body_;
    std::vector<Vessel> vessels_;  // filled once by load; never grows
    std::vector<Attachment> attachments_;
    std::vector<std::pair<Vessel*, std::uint64_t>> deletions_;  // vessel, frame
    std::vector<std::pair<Vessel*, std::uint64_t>> creations_;  // vessel, frame
    double stepSize_ = 0.02;
    double time_ = 0.0;
};

}  // namespace aeroquin::host
