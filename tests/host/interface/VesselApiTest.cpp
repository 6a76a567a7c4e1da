// The vessel functions of the host interface, called in-process on a world of a parent, an
// attached child of a class in a sub-folder, and the parent's deletion.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "host/interface/HostContext.h"
#include "tests/host/world/TestWorld.h"
#include "tests/support/TempRoot.h"

namespace aeroquin::host {
namespace {

using testsupport::TempRoot;

std::string nameOf(OBJHANDLE object, int n) {
    std::array<char, 16> buffer{};
    buffer.fill('#');
    oapiGetObjectName(object, buffer.data(), n);
    return buffer.data();
}

TEST(VesselApi, AttachmentsNamesAndADeletedVessel) {
    const TempRoot root("flat");
    testsupport::writeAttachedPair(root, 1);
    HostSettings settings;
    settings.root = root.path();
    HostContext host(settings);
    host.setWorld(World::load(root.path(), "Pair"));
    std::string p1Name = "P1";
    std::string c1Name = "c1";
    OBJHANDLE parent = oapiGetVesselByName(p1Name.data());
    OBJHANDLE child = oapiGetVesselByName(c1Name.data());
    const OBJHANDLE body = ObjectTable::handleOf(host.world()->body());
    int foreign = 0;
    const VESSEL* p = oapiGetVesselInterface(parent);
    const VESSEL* c = oapiGetVesselInterface(child);
    ASSERT_NE(p, nullptr);
    ASSERT_NE(c, nullptr);

    EXPECT_TRUE(oapiIsVessel(parent));
    EXPECT_FALSE(oapiIsVessel(body));
    EXPECT_FALSE(oapiIsVessel(nullptr));
    EXPECT_FALSE(oapiIsVessel(&foreign));
    EXPECT_EQ(nameOf(child, 16), "C1");
    EXPECT_EQ(nameOf(body, 16), "Flat");
    EXPECT_EQ(nameOf(body, 3), "Fl");
    EXPECT_STREQ(c->GetClassNameA(), "Sub/TestWing");

    EXPECT_EQ(c->AttachmentCount(true), 1u);
    EXPECT_EQ(c->AttachmentCount(false), 0u);
    EXPECT_EQ(p->AttachmentCount(true), 0u);
    EXPECT_EQ(p->AttachmentCount(false), 1u);
    const ATTACHMENTHANDLE up = c->GetAttachmentHandle(true, 0);
    EXPECT_EQ(c->GetAttachmentStatus(up), parent);
    EXPECT_EQ(p->GetAttachmentStatus(p->GetAttachmentHandle(false, 0)), child);
    EXPECT_EQ(c->GetAttachmentHandle(true, 1), nullptr);
    EXPECT_EQ(p->GetAttachmentStatus(&foreign), nullptr);

    EXPECT_EQ(host.world()->deleteVessels(1), std::vector<std::string>{"P1"});
    EXPECT_FALSE(oapiIsVessel(parent));
    EXPECT_EQ(oapiGetVesselByName(p1Name.data()), nullptr);
    EXPECT_EQ(oapiGetVesselInterface(parent), nullptr);
    EXPECT_EQ(p->GetLift(), 0.0);
    EXPECT_EQ(p->AttachmentCount(false), 0u);
    EXPECT_EQ(nameOf(parent, 16), "");
    // The child's point stays, empty.
    EXPECT_EQ(c->GetAttachmentStatus(up), nullptr);

    EXPECT_EQ(testsupport::splitLines(root.read("host.log")),
              (std::vector<std::string>{
                  "host: oapiGetObjectName: the name Flat does not fit in 3 characters; cut to "
                  "Fl (the simulator would leave it without its terminating NUL)",
                  "host: VESSEL::GetAttachmentStatus: the handle is not an attachment point of "
                  "the simulation; answered null",
                  "host: oapiGetVesselInterface: the handle is not a vessel of the simulation",
                  "host: VESSEL::GetLift: the VESSEL's handle is not a vessel of the simulation",
                  "host: VESSEL::AttachmentCount: the VESSEL's handle is not a vessel of the "
                  "simulation",
                  "host: oapiGetObjectName: the handle is no object of the simulation; answered "
                  "an empty name"}));
}

// The levels of a free vessel and of one attached to it (both moved by each step), the control
// mode kept as set, and a type beyond the six.
TEST(VesselApi, ControlLevelsAndMode) {
    const TempRoot root("flat");
    testsupport::writeAttachedPair(root, 9);
    HostSettings settings;
    settings.root = root.path();
    HostContext host(settings);
    host.setWorld(World::load(root.path(), "Pair"));
    std::string p1Name = "P1";
    std::string c1Name = "C1";
    const VESSEL* p = oapiGetVesselInterface(oapiGetVesselByName(p1Name.data()));
    const VESSEL* c = oapiGetVesselInterface(oapiGetVesselByName(c1Name.data()));

    EXPECT_EQ(p->GetADCtrlMode(), 0u);
    p->SetADCtrlMode(5);
    EXPECT_EQ(p->GetADCtrlMode(), 5u);

    p->SetControlSurfaceLevel(AIRCTRL_ELEVATOR, 0.4, true);
    c->SetControlSurfaceLevel(AIRCTRL_FLAP, -0.5, true);
    EXPECT_EQ(p->GetControlSurfaceLevel(AIRCTRL_ELEVATOR), 0.0);  // until the step
    host.world()->step(0.02);
    EXPECT_EQ(p->GetControlSurfaceLevel(AIRCTRL_ELEVATOR), 0.4);
    EXPECT_EQ(c->GetControlSurfaceLevel(AIRCTRL_FLAP), -0.5);

    const auto beyond = static_cast<AIRCTRL_TYPE>(6);
    p->SetControlSurfaceLevel(beyond, 1.0, true);
    EXPECT_EQ(p->GetControlSurfaceLevel(beyond), 0.0);
    EXPECT_EQ(testsupport::splitLines(root.read("host.log")),
              (std::vector<std::string>{
                  "host: VESSEL::SetControlSurfaceLevel: 6 is no control type (0 to 5); nothing "
                  "set",
                  "host: VESSEL::GetControlSurfaceLevel: 6 is no control type (0 to 5); answered "
                  "0"}));
}

}  // namespace
}  // namespace aeroquin::host
