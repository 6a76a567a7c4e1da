// A vessel class: mass, inertia and aerodynamics, read from Config/Vessels/<Class>.cfg.
//
// Aerodynamics come either from one coefficient table (ReferenceArea and AeroTable: one
// vertical airfoil at the centre of gravity) or from any number of airfoils and drag elements
// (Airfoils, DragElements), each airfoil's coefficients from a table beside the class file or
// from a function in a library of the root's Modules folder; control surfaces (ControlSurfaces)
// need an airfoil, as in the simulator, whose model of a vessel without airfoils ignores them.
// host/README.md gives the syntax.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "host/support/ItemFile.h"
#include "host/world/Airfoil.h"
#include "host/world/ControlSurface.h"
#include "host/world/Vec3.h"

namespace aeroquin::host {

struct VesselClass {
    std::string name;           // as the scenario names it, "Sub/TestWing" for a sub-folder's class
    double mass = 0.0;          // kg
    double landedHeight = 0.0;  // m, centre of gravity above the ground when landed
    Vec3 inertiaM2{1.0, 1.0, 1.0};  // principal moments of inertia per unit mass, vessel axes
    Vec3 crossSectionsM2;           // projected along x, y and z
    // RotResistance: the simulator's rotation damping, torque -min(q' C_y r, I m / dt) w per
    // axis with q' the dynamic pressure at the airspeed + 30 m/s; the simulator's default.
    Vec3 rotationDrag{0.01, 0.01, 0.01};
    std::vector<Airfoil> airfoils;
    std::vector<DragElement> dragElements;
    std::vector<ControlSurface> controlSurfaces;
    // Per control type, s: the Delay of its last surface, as the simulator keeps one per type.
    ControlValues controlDelaysS = ControlLevels::defaultDelays();
    // "<file>:<line>: <Key> is no item of this host; ignored", for the host to log.
    std::vector<std::string> unknownItems;

    // Reads root/Config/Vessels/<name>.cfg and what it names; `name` may lie in a sub-folder
    // ("Sub/TestWing"), its tables then beside it. Throws HostFileError naming the
    // file and line: a missing or malformed item, table or library, a missing function.
    static VesselClass load(const std::filesystem::path& root, const std::string& name);
    // The same from items already read; tables are looked up in root/Config/Vessels (and the
    // name's sub-folder), libraries in root/Modules.
    static VesselClass fromItems(const ItemFile& items, std::string name,
                                 const std::filesystem::path& root);
};

// Calls every coefficient function of the class over the whole circle of angles (5 deg apart)
// and Mach 0 to 10, passing `self` on; throws std::runtime_error at the first value that is not
// finite.
void probeCoefficientFunctions(const VesselClass& vesselClass, VESSEL* self);

}  // namespace aeroquin::host
