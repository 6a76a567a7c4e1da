#include "host/world/AeroLoads.h"

#include <cmath>
#include <sstream>
#include <string>

#include "host/world/NonFiniteError.h"

namespace aeroquin::host {

namespace {

// A force that overflowed although its coefficients are finite: name what went into it.
// `kind` and `name` name the part ("airfoil", "Wing"); the text is made only on failure.
void requireFiniteForce(double forceN, const char* kind, const std::string& name,
                        const char* quantity, double coefficient, double q, double areaM2) {
    if (std::isfinite(forceN)) {
        return;
    }
    std::ostringstream message;
    message << kind << " " << name << ": its " << quantity << " is not finite: coefficient "
            << coefficient << " x q " << q << " Pa x " << areaM2 << " m^2";
    throw NonFiniteError(message.str());
}

}  // namespace

AeroLoads aeroLoads(std::span<const Airfoil> airfoils, std::span<const DragElement> dragElements,
                    const Vec3& crossSectionsM2, const Airflow& airflow, VESSEL* vessel,
                    const Controls& controls) {
    AeroLoads loads;
    const Vec3& v = airflow.velocity;
    const double speed = length(v);
    if (speed == 0.0 || airflow.density <= 0.0 || airflow.speedOfSound <= 0.0) {
        return loads;
    }
    const double q = 0.5 * airflow.density * speed * speed;  // Pa
    loads.dynamicPressure = q;
    loads.density = airflow.density;
    loads.airspeed = speed;
    const double mach = speed / airflow.speedOfSound;
    const double reynoldsPerMetre = airflow.density * speed / airViscosity;  // 1/m
    const Vec3 dragDirection = -v / speed;
    const Vec3 liftDirection = normalised(Vec3{0.0, v.z, -v.y});
    const Vec3 sideDirection = normalised(Vec3{v.z, 0.0, -v.x});
    const double aoaRad = std::atan2(-v.y, v.z);
    const double sideslipRad = std::atan2(-v.x, v.z);
    const Vec3& c = crossSectionsM2;

    const auto apply = [&loads](const Vec3& force, const Vec3& at) {
        loads.force += force;
        loads.moment += cross(force, at);
    };

    for (const Airfoil& airfoil : airfoils) {
        const bool vertical = airfoil.axis == LiftAxis::Vertical;
        double area = airfoil.areaM2;
        if (area == 0.0) {
            area = vertical ? std::abs(dragDirection.z) * c.z + std::abs(dragDirection.y) * c.y
                            : std::abs(dragDirection.z) * c.z + std::abs(dragDirection.x) * c.z;
        }
        const AeroCoefficients k = airfoil.coefficients.at(vessel, vertical ? aoaRad : sideslipRad,
                                                           mach, reynoldsPerMetre * airfoil.chordM);
        const double qs = q * area;
        const Vec3& liftAxis = vertical ? liftDirection : sideDirection;
        // With no airflow across the airfoil's plane its lift has no direction, and there is none.
        const double liftN = liftAxis == Vec3{} ? 0.0 : k.cl * qs;
        const double dragN = k.cd * qs;
        requireFiniteForce(liftN, "airfoil", airfoil.name, "lift", k.cl, q, area);
        requireFiniteForce(dragN, "airfoil", airfoil.name, "drag", k.cd, q, area);
        apply(liftAxis * liftN + dragDirection * dragN, airfoil.centreOfPressure);
        // The simulator takes the declared area here: an airfoil of Area 0 has no moment.
        const double pitchOrYawNm = k.cm * q * airfoil.areaM2 * airfoil.chordM;
        if (vertical) {
            loads.moment.x += pitchOrYawNm;
            loads.lift += liftN;
        } else {
            loads.moment.y += pitchOrYawNm;
            loads.sideForce += liftN;
        }
        loads.drag += dragN;
    }
    for (const ControlSurface& surface : controls.surfaces) {
        const double level = controls.levels.at(controlIndex(surface.type));
        if (level == 0.0) {
            continue;
        }
        const double qs = q * surface.areaM2;
        const double liftN = -level * qs * surface.dCl;
        const double dragN = std::abs(level) * qs;
        requireFiniteForce(liftN, "control surface", surface.name, "lift", -level * surface.dCl, q,
                           surface.areaM2);
        requireFiniteForce(dragN, "control surface", surface.name, "drag", std::abs(level), q,
                           surface.areaM2);
        Vec3 liftForce;
        switch (surface.axis) {
            case ControlAxis::XNeg:
                liftForce = liftDirection * -liftN;
                break;
            case ControlAxis::YPos:
                liftForce = sideDirection * liftN;
                break;
            case ControlAxis::YNeg:
                liftForce = sideDirection * -liftN;
                break;
            case ControlAxis::XPos:
            case ControlAxis::Auto:  // resolved when read: never here
                liftForce = liftDirection * liftN;
                break;
        }
        apply(liftForce + dragDirection * dragN, surface.position);
    }
    for (const DragElement& element : dragElements) {
        const double dragN = element.factorM2 * q;
        requireFiniteForce(dragN, "drag element", element.name, "drag", 1.0, q, element.factorM2);
        apply(dragDirection * dragN, element.position);
        loads.drag += dragN;
    }
    return loads;
}

}  // namespace aeroquin::host
