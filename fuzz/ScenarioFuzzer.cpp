// The host's scenario reader on arbitrary item-file bytes: a Scenario or a HostFileError. A
// scenario that reads is then built into a world (a fixed body Flat and vessel class Probe are
// in the root) and run for a few frames, the way the host uses it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/Check.h"
#include "host/support/HostFileError.h"
#include "host/support/ItemFile.h"
#include "host/world/NonFiniteError.h"
#include "host/world/Scenario.h"
#include "host/world/World.h"
#include "tests/support/TempRoot.h"

using aeroquin::fuzz::check;
using namespace aeroquin::host;

namespace {

// Configured air at 288.16 K, speed of sound 322 m/s; the body of examples/flat.
constexpr std::string_view kBody =
    "Size = 1e6\nMass = 9.366677706857458e22\nSidRotPeriod = 1e30\nAtmosphere = Isothermal\n"
    "AtmGasConstant = 250\nAtmGamma = 1.44\nAtmPressure0 = 100000\nAtmDensity0 = 1.6\n";
constexpr std::string_view kProbe = "Mass = 1000\nReferenceArea = 10\nAeroTable = Probe.csv\n";
constexpr std::string_view kProbeTable =
    "mach,aoa,cl,cd\n0,-90,-0.9,0.1\n0,90,0.9,0.1\n10,-90,-0.9,0.6\n10,90,0.9,0.6\n";

const aeroquin::testsupport::TempRoot& worldRoot() {
    static const aeroquin::testsupport::TempRoot root;
    static const bool written = [] {
        root.write("Config/Flat.cfg", kBody);
        root.write("Config/Vessels/Probe.cfg", kProbe);
        root.write("Config/Vessels/Probe.csv", kProbeTable);
        return true;
    }();
    static_cast<void>(written);
    return root;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string name = "Scenarios/Fuzz.scn";
    try {
        const Scenario scenario = Scenario::fromItems(ItemFile::fromText(text, name));
        check(scenario.file == name, "the scenario carries its file name");
        check(scenario.stepSizeS > 0.0, "the step is positive");
        World world = World::build(worldRoot().path(), scenario);
        check(world.vessels().size() == scenario.vessels.size(), "one vessel per placement");
        for (int frame = 0; frame < 3; ++frame) {
            static_cast<void>(world.step(world.stepSize()));
        }
    } catch (const NonFiniteError& error) {
        // A flight that leaves the finite numbers (a step of 1e300 s, say) ends with its name.
        check(std::string_view(error.what()).starts_with("vessel "),
              "a state that is not finite names its vessel");
    } catch (const HostFileError& error) {
        // The scenario, or the body or class file it names.
        const std::string_view message = error.what();
        check(message.starts_with(name + ":") || message.starts_with("Config/"),
              "the error names the scenario or a file it names");
    }
    return 0;
}
