// The shared temporary root, set up for runs of the host with the test plug-in:
// Scenarios/Default.scn (empty space, no vessel) and whatever the test writes.
#pragma once

#include <string>
#include <vector>

#include "tests/support/HostProcess.h"
#include "tests/support/TempRoot.h"

namespace aeroquin::testsupport {

using HostOutcome = HostResult;

// The host and the test plug-in of this test target.
inline const HostUnderTest kPluginHost{AEROQUIN_HOST_EXE, AEROQUIN_TEST_MODULE};

class PluginRoot : public TempRoot {
  public:
    PluginRoot() { write("Scenarios/Default.scn", "Body = None\n"); }

    // The test plug-in's configuration, Config/Modules/Plugin/TestPlugin.cfg.
    void configurePlugin(const std::string& items) const {
        write("Config/Modules/Plugin/TestPlugin.cfg", items);
    }
    // A flat, slowly turning body "Flat" of configured air and a probe vessel "P1" flying over it.
    void addFlatWorld() const {
        // GM = 6.67259e-11 * Mass = 6.25e12; configured air is at 288.16 K.
        write("Config/Flat.cfg",
              "Size = 1e6\nMass = 9.366677706857458e22\nSidRotPeriod = 1e30\n"
              "Atmosphere = Isothermal\nAtmGasConstant = 250\nAtmGamma = 1.44\n"
              "AtmPressure0 = 100000\nAtmDensity0 = 1.6\n");
        write("Config/Vessels/Probe.cfg",
              "Mass = 1000\nReferenceArea = 10\nDragElements = Hull\nHull.Factor = 1\n");
        write("Scenarios/Default.scn",
              "Body = Flat\nVessels = P1:Probe\nP1.Status = Flying\nP1.Altitude = 20000\n");
    }

    // aeroquin-host --root <root> --module <test plug-in> <args>, run in the root folder.
    HostOutcome run(const std::vector<std::string>& args = {}, bool onTerminal = false) const {
        return runHost(kPluginHost, *this, args, onTerminal);
    }
    // aeroquin-host <args> alone.
    HostOutcome runBare(const std::vector<std::string>& args) const {
        return runProcess(kPluginHost.executable, args, path());
    }
};

}  // namespace aeroquin::testsupport
