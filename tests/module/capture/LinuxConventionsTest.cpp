// The module built with the conventions of the simulator's Linux build: paths with '/', which
// that build opens as written, and the status on screen at render mode 0, its full screen.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "module/capture/AeroquinManager.h"
#include "tests/fakes/RecordingHost.h"

namespace {

using aeroquin::testsupport::RecordingHost;
using Lines = std::vector<std::string>;

TEST(LinuxConventions, PathsUseSlashesAndRenderModeZeroShowsTheStatus) {
    RecordingHost& host = RecordingHost::get();
    host.reset();
    aeroquin::testsupport::FakeVessel& probe = aeroquin::testsupport::addStandardVessel(host);
    probe.lift = 1000.0;
    probe.drag = 100.0;
    host.itemFiles["Modules/Plugin/Aeroquin.cfg"] =
        "VesselName = Probe\nSaveDirectory = AeroquinReports\nReportNameStyle = 0\n"
        "AoaIntervals = 0 10\nAoaIncrements = 0\nMachIntervals = 0.5 1\nMachIncrements = 0\n";
    {
        aeroquin::AeroquinManager manager(0);
        manager.preStep(0.0, 0.02, 51544.5);
        manager.postStep(0.02, 0.02, 51544.5);
        manager.preStep(0.02, 0.02, 51544.5);
    }
    ASSERT_EQ(host.writtenFiles.count("AeroquinReports/Glider.csv"), 1U);
    EXPECT_EQ(host.writtenFiles.at("AeroquinReports/Glider.csv").size(), 6U);
    ASSERT_EQ(host.annotations.size(), 1U);
    EXPECT_EQ(host.annotations[0].textSets, 3) << "started, the row, completed";
    EXPECT_EQ(host.annotations[0].text, "Capture completed");
}

}  // namespace
