// Small worlds made in code for tests of the world and of the records served from it.
#pragma once

#include <memory>
#include <string>

#include "host/world/Body.h"
#include "host/world/VesselClass.h"
#include "tests/support/TempRoot.h"

namespace aeroquin::testsupport {

using host::AeroTable;
using host::Airfoil;
using host::AtmosphereModel;
using host::AtmosphereParams;
using host::Body;
using host::CoefficientSource;
using host::gravitationalConstant;
using host::LiftAxis;
using host::VesselClass;

// The flat body of examples/flat: the simulator's configured air (288.16 K everywhere), sound at
// sqrt(1.44 * 250 * 288.16) = 322.0832190599194 m/s, scale height 10000 m, GM 6.25e12,
// practically no rotation.
inline Body flatBody() {
    AtmosphereParams air;
    air.model = AtmosphereModel::Isothermal;
    air.gasConstant = 250.0;
    air.gamma = 1.44;
    air.pressure0Pa = 100000.0;
    air.density0KgM3 = 1.6;
    air.altLimitM = 100000.0;
    return Body("Flat", 1.0e6, 6.25e12 / gravitationalConstant, 1e30, 0.0, air);
}

// cl = 0.01 AOA (deg), cd = 0.1 + 0.05 Mach; 1000 kg, 10 m^2.
inline std::shared_ptr<const VesselClass> probeClass(bool withTable = true) {
    auto c = std::make_shared<VesselClass>();
    c->name = "Probe";
    c->mass = 1000.0;
    if (withTable) {
        c->airfoils.push_back(Airfoil{
            "Table",
            LiftAxis::Vertical,
            {},
            1.0,
            10.0,
            0.0,
            CoefficientSource(std::make_shared<const AeroTable>(AeroTable::fromText(
                "mach,aoa,cl,cd\n0,-90,-0.9,0.1\n0,90,0.9,0.1\n4,-90,-0.9,0.3\n4,90,0.9,0.3\n",
                "P")))});
    }
    return c;
}

// Scenarios/Pair.scn on a copy of examples/flat: P1, a flying Probe, with C1 of the class
// Sub/TestWing (Config/Vessels/Sub/) attached to it; P1 is deleted after `deletedAfterFrame`.
inline void writeAttachedPair(const TempRoot& root, int deletedAfterFrame) {
    root.write("Config/Vessels/Sub/TestWing.cfg",
               "Mass = 5\nReferenceArea = 1\nAeroTable = W.csv\n");
    root.write("Config/Vessels/Sub/W.csv", root.read("Config/Vessels/Probe.csv"));
    root.write("Scenarios/Pair.scn",
               "Body = Flat\nVessels = P1:Probe C1:Sub/TestWing\nP1.Status = Flying\n"
               "C1.AttachedTo = P1\nP1.DeletedAfterFrame = " +
                   std::to_string(deletedAfterFrame) + "\n");
}

}  // namespace aeroquin::testsupport
