// The example sailplane as a vessel module of the simulator (its Windows and Linux builds): the
// class file Config/Vessels/Glider.cfg names it (Module = Glider) and holds every number, and the
// airfoils call GliderAero's coefficient functions, exactly as aeroquin-host builds the same
// class from the same file and library.
#include <string>

#include "examples/glider/vessel/GliderDefinition.h"
#include "module/simulator/HostApi.h"

namespace {

VECTOR3 vectorOf(const glider::Triple& t) {
    return VECTOR3{{t[0], t[1], t[2]}};
}

static_assert(static_cast<int>(glider::ControlType::Elevator) == AIRCTRL_ELEVATOR &&
                  static_cast<int>(glider::ControlType::RudderTrim) == AIRCTRL_RUDDERTRIM,
              "ControlType follows AIRCTRL_TYPE");

// The SDK's axis constant of a ControlAxis.
int sdkAxis(glider::ControlAxis axis) {
    switch (axis) {
        case glider::ControlAxis::XPos:
            return AIRCTRL_AXIS_XPOS;
        case glider::ControlAxis::XNeg:
            return AIRCTRL_AXIS_XNEG;
        case glider::ControlAxis::YPos:
            return AIRCTRL_AXIS_YPOS;
        case glider::ControlAxis::YNeg:
            return AIRCTRL_AXIS_YNEG;
        case glider::ControlAxis::Auto:
            break;
    }
    return AIRCTRL_AXIS_AUTO;
}

class Glider final : public VESSEL2 {
  public:
    Glider(OBJHANDLE handle, int flightModel) : VESSEL2(handle, flightModel) {}

    void clbkSetClassCaps(FILEHANDLE classFile) override {
        try {
            definition_ = glider::readDefinition(classFile);
        } catch (const std::exception& error) {
            std::string line = error.what();  // the Windows SDK takes a mutable text
            oapiWriteLog(line.data());
            return;
        }
        const glider::Definition& d = definition_;
        SetSize(8.0);  // m, for the camera; no part of the aerodynamics
        SetEmptyMass(d.massKg);
        SetPMI(vectorOf(d.inertiaM2));
        SetCrossSections(vectorOf(d.crossSectionsM2));
        SetRotDrag(vectorOf(d.rotResistance));
        // Level on three points, the centre of gravity LandedHeight above the ground.
        const double h = d.landedHeightM;
        SetTouchdownPoints(VECTOR3{{0.0, -h, 2.0}}, VECTOR3{{-2.0, -h, -2.0}},
                           VECTOR3{{2.0, -h, -2.0}});
        for (const glider::AirfoilDefinition& airfoil : d.airfoils) {
            const glider::CoefficientFunction function = glider::functionNamed(airfoil.function);
            if (function == nullptr) {
                std::string line = "Glider: no coefficient function " + airfoil.function;
                oapiWriteLog(line.data());
                continue;
            }
            // The context is the airfoil's name, as the host hands it; definition_ keeps it.
            CreateAirfoil3(airfoil.vertical ? LIFT_VERTICAL : LIFT_HORIZONTAL,
                           vectorOf(airfoil.positionM), function,
                           const_cast<char*>(airfoil.name.c_str()), airfoil.chordM, airfoil.areaM2,
                           airfoil.aspectRatio);
        }
        for (const glider::DragElementDefinition& element : d.dragElements) {
            CreateVariableDragElement(&deployed_, element.factorM2, vectorOf(element.positionM));
        }
        for (const glider::ControlSurfaceDefinition& surface : d.controlSurfaces) {
            CreateControlSurface3(static_cast<AIRCTRL_TYPE>(surface.type), surface.areaM2,
                                  surface.dCl, vectorOf(surface.positionM), sdkAxis(surface.axis),
                                  surface.delayS);
        }
    }

  private:
    glider::Definition definition_;
    double deployed_ = 1.0;  // drag elements are always out; the simulator reads this level
};

}  // namespace

DLLCLBK VESSEL* ovcInit(OBJHANDLE vessel, int flightModel) {
    return new Glider(vessel, flightModel);
}

DLLCLBK void ovcExit(VESSEL* vessel) {
    delete static_cast<Glider*>(vessel);
}
