// The module's configuration loading on arbitrary file bytes, through the host's own runtime:
// the bytes become Config/Modules/Plugin/Aeroquin.cfg of a private root, and a fresh host
// context per input (its file layer, item-file parser and log) answers the module's
// oapiOpenFile, oapiReadItem_string, oapiReadItem_int and oapiCloseFile. Loading ends in a valid
// configuration or a ConfigurationError, with the file closed exactly once either way; a loaded
// configuration then describes itself and builds its sweep.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/Check.h"
#include "host/interface/HostContext.h"
#include "module/config/AxisValidation.h"
#include "module/config/Configuration.h"
#include "module/config/ConfigurationError.h"
#include "module/sweep/Sweeper.h"
#include "tests/support/TempRoot.h"

using aeroquin::fuzz::check;

namespace {

// 1 + the sum of the counts, saturated.
std::uint64_t axisPoints(const std::vector<std::uint32_t>& increments) {
    std::uint64_t count = 1;
    for (const std::uint32_t n : increments) {
        count = count > UINT64_MAX - n ? UINT64_MAX : count + n;
    }
    return count;
}

// Axes this long are expanded in full; longer ones up to the sweep's limit are skipped, as
// they only cost time (128 MiB and a second a list), and beyond the limit build refuses them
// before allocating.
constexpr std::uint64_t kExpandedPoints = 1 << 16;

bool worthBuilding(const aeroquin::Configuration& configuration) {
    for (const std::uint64_t points :
         {axisPoints(configuration.aoaIncrements), axisPoints(configuration.machIncrements)}) {
        if (points > kExpandedPoints && points <= aeroquin::kMaxAxisPoints) {
            return false;
        }
    }
    return true;
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const aeroquin::testsupport::TempRoot root;
    root.write("Config/Modules/Plugin/Aeroquin.cfg",
               std::string_view(reinterpret_cast<const char*>(data), size));

    aeroquin::Configuration configuration;
    bool loaded = false;
    {
        aeroquin::host::HostSettings settings;
        settings.root = root.path();
        settings.screen = false;
        aeroquin::host::HostContext host(settings);
        try {
            configuration.load();
            loaded = true;
        } catch (const aeroquin::ConfigurationError& error) {
            check(std::string_view(error.what()).starts_with("Configuration Error - "),
                  "the message is \"Configuration Error - \" and a detail");
        }
        // Logs "<file> was left open by the module; closed" for a file still open.
        host.files().closeAll();
    }
    // The host also logs every close of a file that is not open, or with another mode. Values
    // quoted in other lines hold no line feed, so whole lines tell these apart.
    bool closedOnce = true;
    std::istringstream log(readFile(root.path() / "host.log"));
    for (std::string line; std::getline(log, line);) {
        closedOnce = closedOnce && !line.starts_with("host: oapiCloseFile") &&
                     !line.ends_with(" was left open by the module; closed");
    }
    check(closedOnce, "load closes the file exactly once, with FILE_IN");
    if (!loaded) {
        return 0;
    }

    check(configuration.reportNameStyle == 0 || configuration.reportNameStyle == 1,
          "the report name style is 0 or 1");
    check(aeroquin::isValidAxis(configuration.aoaIntervals, configuration.aoaIncrements) &&
              aeroquin::isValidAxis(configuration.machIntervals, configuration.machIncrements),
          "both axes are valid");
    check(configuration.describe().starts_with("Vessel Name:"), "the description's first part");

    if (!worthBuilding(configuration)) {
        return 0;
    }
    aeroquin::Sweeper sweeper;
    try {
        sweeper.build(configuration);
    } catch (const std::length_error&) {
        const bool aoaOver = axisPoints(configuration.aoaIncrements) > aeroquin::kMaxAxisPoints;
        const bool machOver = axisPoints(configuration.machIncrements) > aeroquin::kMaxAxisPoints;
        check(aoaOver || machOver, "only an axis over the limit is refused");
        check(sweeper.machPoints().empty() && (!aoaOver || sweeper.aoaPoints().empty()),
              "an axis over the limit is refused before it gets a point");
        return 0;
    }
    check(sweeper.aoaPoints().size() == axisPoints(configuration.aoaIncrements) &&
              sweeper.machPoints().size() == axisPoints(configuration.machIncrements),
          "each axis has 1 + the sum of its counts points");
    check(sweeper.statusText().starts_with("Mach: "), "the first point's status text");
    return 0;
}
