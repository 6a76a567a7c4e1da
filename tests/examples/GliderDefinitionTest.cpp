// The sailplane's vessel module for the simulator and aeroquin-host read one class file: every
// number and every coefficient function must come out the same in both.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "examples/glider/vessel/GliderDefinition.h"
#include "host/world/VesselClass.h"
#include "tests/fakes/RecordingHost.h"
#include "tests/support/TempRoot.h"

namespace {

using aeroquin::host::ControlAxis;
using aeroquin::host::LiftAxis;
using aeroquin::host::Vec3;

void expectSame(const Vec3& host, const glider::Triple& module, const std::string& what) {
    EXPECT_EQ(host.x, module[0]) << what;
    EXPECT_EQ(host.y, module[1]) << what;
    EXPECT_EQ(host.z, module[2]) << what;
}

TEST(GliderDefinition, TheVesselModuleBuildsTheClassTheHostReads) {
    const aeroquin::testsupport::TempRoot root("glider");
    std::filesystem::copy_file(AEROQUIN_GLIDER_AERO, root.path() / "Modules/GliderAero.so");
    const auto hostClass = aeroquin::host::VesselClass::load(root.path(), "Glider");

    auto& fake = aeroquin::testsupport::RecordingHost::get();
    fake.reset();
    fake.itemFiles["Vessels/Glider.cfg"] = root.read("Config/Vessels/Glider.cfg");
    FILEHANDLE file = oapiOpenFile("Vessels/Glider.cfg", FILE_IN, CONFIG);
    const glider::Definition module = glider::readDefinition(file);
    oapiCloseFile(file, FILE_IN);

    EXPECT_EQ(hostClass.mass, module.massKg);
    EXPECT_EQ(hostClass.landedHeight, module.landedHeightM);
    expectSame(hostClass.inertiaM2, module.inertiaM2, "inertia");
    expectSame(hostClass.crossSectionsM2, module.crossSectionsM2, "cross-sections");
    expectSame(hostClass.rotationDrag, module.rotResistance, "rotation drag");

    ASSERT_EQ(hostClass.airfoils.size(), 3U);
    ASSERT_EQ(module.airfoils.size(), hostClass.airfoils.size());
    for (std::size_t i = 0; i < module.airfoils.size(); ++i) {
        const auto& h = hostClass.airfoils[i];
        const glider::AirfoilDefinition& m = module.airfoils[i];
        EXPECT_EQ(h.name, m.name);
        EXPECT_EQ(h.axis == LiftAxis::Vertical, m.vertical) << m.name;
        expectSame(h.centreOfPressure, m.positionM, m.name);
        EXPECT_EQ(h.chordM, m.chordM) << m.name;
        EXPECT_EQ(h.areaM2, m.areaM2) << m.name;
        EXPECT_EQ(h.aspectRatio, m.aspectRatio) << m.name;
        // The same function: the library the host loaded and the one the module links.
        const glider::CoefficientFunction function = glider::functionNamed(m.function);
        ASSERT_NE(function, nullptr) << m.function;
        for (const double aoa : {-2.5, -0.3, 0.0, 0.2, 1.4}) {
            for (const double mach : {0.2, 0.9, 1.5}) {
                const auto expected = h.coefficients.at(nullptr, aoa, mach, 4e6);
                double cl = 0.0;
                double cm = 0.0;
                double cd = 0.0;
                function(nullptr, aoa, mach, 4e6, nullptr, &cl, &cm, &cd);
                EXPECT_EQ(expected.cl, cl) << m.name << " at " << aoa << ", Mach " << mach;
                EXPECT_EQ(expected.cm, cm) << m.name;
                EXPECT_EQ(expected.cd, cd) << m.name;
            }
        }
    }
    ASSERT_EQ(module.dragElements.size(), 1U);
    ASSERT_EQ(hostClass.dragElements.size(), 1U);
    EXPECT_EQ(hostClass.dragElements[0].name, module.dragElements[0].name);
    expectSame(hostClass.dragElements[0].position, module.dragElements[0].positionM,
               "drag element");
    EXPECT_EQ(hostClass.dragElements[0].factorM2, module.dragElements[0].factorM2);

    // An elevator, a rudder and two ailerons; both programs' enumerations in the simulator's order.
    ASSERT_EQ(hostClass.controlSurfaces.size(), 4U);
    ASSERT_EQ(module.controlSurfaces.size(), hostClass.controlSurfaces.size());
    for (std::size_t i = 0; i < module.controlSurfaces.size(); ++i) {
        const auto& h = hostClass.controlSurfaces[i];
        const glider::ControlSurfaceDefinition& m = module.controlSurfaces[i];
        EXPECT_EQ(h.name, m.name);
        EXPECT_EQ(static_cast<int>(h.type), static_cast<int>(m.type)) << m.name;
        EXPECT_EQ(h.areaM2, m.areaM2) << m.name;
        EXPECT_EQ(h.dCl, m.dCl) << m.name;
        expectSame(h.position, m.positionM, m.name);
        EXPECT_EQ(h.axis, resolvedAxis(h.type, static_cast<ControlAxis>(m.axis), h.position))
            << m.name;
        EXPECT_EQ(hostClass.controlDelaysS.at(aeroquin::host::controlIndex(h.type)), m.delayS);
    }
    // The ailerons' opposite axes roll the sailplane.
    EXPECT_EQ(hostClass.controlSurfaces[2].axis, ControlAxis::XPos);
    EXPECT_EQ(hostClass.controlSurfaces[3].axis, ControlAxis::XNeg);
}

}  // namespace
