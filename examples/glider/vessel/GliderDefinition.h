// The sailplane as its class file defines it: Config/Vessels/Glider.cfg, the one file that both
// the simulator's vessel module and aeroquin-host read, so that the two cannot drift.
//
// Items (keys as the host reads them; the simulator itself also reads Mass, Inertia,
// CrossSections and RotResistance from the same file):
//   Mass (kg), LandedHeight (m), Inertia (m^2, per unit mass), CrossSections (m^2),
//   RotResistance, Airfoils, <Name>.Lift = Vertical | Horizontal, <Name>.Position (m),
//   <Name>.Chord (m), <Name>.Area (m^2), <Name>.AspectRatio, <Name>.Function,
//   DragElements, <Name>.Position (m), <Name>.Factor (m^2), ControlSurfaces,
//   <Name>.Type = Elevator | Rudder | Aileron | Flap | ElevatorTrim | RudderTrim, <Name>.Area
//   (m^2), <Name>.dCl, <Name>.Position (m), <Name>.Axis = Auto | XPos | XNeg | YPos | YNeg,
//   <Name>.Delay (s, default 1).
#pragma once

#include <array>
#include <string>
#include <vector>

#include "module/simulator/HostApi.h"

namespace glider {

using Triple = std::array<double, 3>;  // x right, y up, z forward

struct AirfoilDefinition {
    std::string name;
    bool vertical = true;  // lift from the angle of attack; else side force from the sideslip
    Triple positionM{};    // centre of pressure against the centre of gravity
    double chordM = 0.0;
    double areaM2 = 0.0;
    double aspectRatio = 0.0;
    std::string function;  // name of a GliderAero function
};

struct DragElementDefinition {
    std::string name;
    Triple positionM{};
    double factorM2 = 0.0;  // drag = factor * q
};

// The simulator's control types and axes, in its order (AIRCTRL_TYPE, AIRCTRL_AXIS_*).
enum class ControlType { Elevator, Rudder, Aileron, Flap, ElevatorTrim, RudderTrim };
enum class ControlAxis { Auto, XPos, XNeg, YPos, YNeg };

struct ControlSurfaceDefinition {
    std::string name;
    ControlType type = ControlType::Elevator;
    double areaM2 = 0.0;
    double dCl = 0.0;  // lift coefficient per unit level
    Triple positionM{};
    ControlAxis axis = ControlAxis::Auto;
    double delayS = 1.0;  // for a level change of 1
};

struct Definition {
    double massKg = 0.0;
    double landedHeightM = 0.0;
    Triple inertiaM2{1.0, 1.0, 1.0};
    Triple crossSectionsM2{};
    Triple rotResistance{};
    std::vector<AirfoilDefinition> airfoils;
    std::vector<DragElementDefinition> dragElements;
    std::vector<ControlSurfaceDefinition> controlSurfaces;
};

// The simulator's airfoil callback (AirfoilCoeffFuncEx).
using CoefficientFunction = void (*)(VESSEL* vessel, double aoa, double mach, double reynolds,
                                     void* context, double* cl, double* cm, double* cd);

// The GliderAero function of that name; null for any other name.
[[nodiscard]] CoefficientFunction functionNamed(const std::string& name);

// Reads the class file through the simulator's item functions. Throws std::runtime_error
// naming the item that is missing or malformed.
[[nodiscard]] Definition readDefinition(FILEHANDLE classFile);

}  // namespace glider
