// A scenario: the body, the step and the vessels with their starting state.
//
// Items:
//   Body = <name of Config/<name>.cfg> | None
//   StepSize = s per frame (optional, > 0, default 0.02)
//   Vessels = name:class name:class ...        (optional; blank-separated pairs; a class may
//                                               lie in a sub-folder: name:Sub/Class)
//   <name>.Status = Landed | Flying            (default Landed; Flying when Body = None)
//   <name>.Altitude = m above the mean radius  (Flying only, default 20000)
//   <name>.Longitude, <name>.Latitude = deg    (default 0)
//   <name>.Heading = deg from north to east    (Landed only, default 0)
//   <name>.Attitude = a b c, deg               (optional; see Attitude.h)
//   <name>.AttachedTo = parent                 (optional; another vessel of the scenario)
//   <name>.AttachedAfterFrame = N              (optional, with AttachedTo; whole number >= 1)
//   <name>.DockedTo = other                    (optional; another vessel of the scenario)
//   <name>.DeletedAfterFrame = N               (optional; whole number >= 1)
//   <name>.CreatedAfterFrame = N               (optional; whole number >= 1)
//   <name>.Holds = type level type level ...   (optional; types as ControlSurface.h names them)
// Landed: at rest on the surface, riding the rotating body; as the simulator lands a vessel,
// y up along the local vertical and the nose towards the heading, unless an Attitude is given
// (against the global frame). Flying: free flight at the given
// altitude, moving with the rotating body there, so the air is still around it. Position and
// attitude are taken at t = 0. In empty space a Flying vessel starts at rest at the origin.
// AttachedTo: the vessel hangs on the parent by one attachment point (the parent gets one child
// point for it) and moves with it, at its position, velocity and attitude, without loads of
// its own; its own Status and place are not used. DeletedAfterFrame: the vessel is deleted at
// the end of frame N, after the post-step callbacks, as the simulator deletes a vessel; its
// attachments are released. AttachedAfterFrame: the vessel flies free until the end of frame N,
// then hangs on its parent. DockedTo: the vessel and the other each have one docking port, joined;
// it moves with the other as an attached vessel does. CreatedAfterFrame: the vessel enters the
// simulation at the end of frame N, after that frame's deletions, placed as at t = 0; like the
// simulator, the host gives it the handle of the vessel deleted last, if one was. Holds: every
// frame, after the modules' pre-steps, the vessel sets each type's level (clamped to [-1, 1]) as
// its own pre-step would with the two-argument VESSEL::SetControlSurfaceLevel: without the
// direct flag, which then no longer holds for a module's direct set of that frame.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "host/support/ItemFile.h"
#include "host/world/ControlSurface.h"
#include "host/world/Vec3.h"

namespace aeroquin::host {

enum class StartStatus { Landed, Flying };

struct VesselPlacement {
    std::string name;
    std::string className;
    StartStatus status = StartStatus::Landed;
    double altitudeM = 20000.0;  // Flying only
    double longitudeRad = 0.0;
    double latitudeRad = 0.0;
    // Flying: against the global frame. Landed without one: as the simulator lands a vessel,
    // y up along the local vertical and the nose towards headingRad (from north towards east).
    std::optional<Vec3> attitudeRad;
    double headingRad = 0.0;  // Landed only
    std::string attachedTo;   // the parent's name; empty: free
    std::optional<std::uint64_t> attachedAfterFrame;
    std::string dockedTo;  // empty: not docked
    std::optional<std::uint64_t> deletedAfterFrame;
    std::optional<std::uint64_t> createdAfterFrame;
    std::vector<ControlHold> holds;
    int line = 0;  // line of the Vessels item, for messages
};

struct Scenario {
    std::string file;                 // as named in messages, e.g. "Scenarios/Default.scn"
    std::optional<std::string> body;  // none: empty space
    int bodyLine = 0;                 // line of the Body item, for messages
    double stepSizeS = 0.02;
    std::vector<VesselPlacement> vessels;

    // Throws HostFileError naming the scenario line.
    static Scenario fromItems(const ItemFile& items);
    // Reads root/Scenarios/<name>.scn.
    static Scenario load(const std::filesystem::path& root, const std::string& name);
};

}  // namespace aeroquin::host
