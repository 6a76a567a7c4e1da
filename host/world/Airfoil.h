// A vessel's lifting surfaces and drag elements, defined the way the simulator's add-ons define
// them: each airfoil has its own coefficient function of (angle, Mach, Reynolds number).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/world/AeroTable.h"
#include "host/world/Vec3.h"

class VESSEL;  // the simulator's vessel interface; the world only passes it on

namespace aeroquin::host {

class CoefficientLibrary;

// The simulator's coefficient callback (AirfoilCoeffFuncEx): angle in rad over the full circle,
// Mach number, Reynolds number of the chord; writes cl, cm and cd.
using AirfoilCallback = void (*)(VESSEL* vessel, double angleRad, double mach, double reynolds,
                                 void* context, double* cl, double* cm, double* cd);

// Vertical: lift in the vessel's plane of symmetry, driven by the angle of attack (wings,
// horizontal tails). Horizontal: side force, driven by the sideslip angle (fins).
enum class LiftAxis { Vertical, Horizontal };

// Where an airfoil's coefficients come from: a table, or a function of a user's library.
class CoefficientSource {
  public:
    explicit CoefficientSource(std::shared_ptr<const AeroTable> table);
    // `airfoil` is the airfoil's name: the function receives it as its context pointer (zero
    // terminated). `origin` ("<file>:<line>") names where the function was given, in errors.
    // The source keeps the library loaded.
    CoefficientSource(std::shared_ptr<const CoefficientLibrary> library, AirfoilCallback function,
                      std::string symbol, std::string airfoil, std::string origin);

    // cl, cm, cd at `angleRad`; `vessel` is handed to a function as it is. Throws
    // std::runtime_error "<origin>: airfoil <name>: <symbol> of <library> gives cd = nan at
    // 30 deg, Mach 1" when a function answers a value that is not finite.
    [[nodiscard]] AeroCoefficients at(VESSEL* vessel, double angleRad, double mach,
                                      double reynolds) const;
    [[nodiscard]] bool isFunction() const { return function_ != nullptr; }

  private:
    std::shared_ptr<const AeroTable> table_;
    std::shared_ptr<const CoefficientLibrary> library_;
    AirfoilCallback function_ = nullptr;
    std::string symbol_;
    std::shared_ptr<std::string> context_;  // stable address for the function's context
    std::string origin_;
    std::shared_ptr<std::string> description_;  // stable text for CallInProgress.h
};

struct Airfoil {
    std::string name;
    LiftAxis axis = LiftAxis::Vertical;
    Vec3 centreOfPressure;  // m, vessel frame, relative to the centre of gravity
    double chordM = 1.0;
    double areaM2 = 0.0;  // 0: the vessel's projected cross-section against the airflow
    double aspectRatio = 0.0;
    CoefficientSource coefficients;
};

// Drag = factor * q along the airflow, applied at `position`; always deployed (level 1).
struct DragElement {
    std::string name;
    Vec3 position;  // m, vessel frame
    double factorM2 = 0.0;
};

}  // namespace aeroquin::host
