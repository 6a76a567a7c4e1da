// The host's body reader on arbitrary item-file bytes: a Body or a HostFileError, nothing else.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/Check.h"
#include "host/support/HostFileError.h"
#include "host/support/ItemFile.h"
#include "host/world/Body.h"

using aeroquin::fuzz::check;
using namespace aeroquin::host;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    constexpr std::string_view name = "Config/Fuzz.cfg";
    try {
        const Body body = Body::fromItems(ItemFile::fromText(text, std::string(name)), "Fuzz");
        check(body.meanRadius() > 0.0 && body.mass() > 0.0 && body.rotationPeriod() > 0.0,
              "size, mass and rotation period are positive");
        // What the world asks of a body during a capture must not trip a sanitizer either.
        const Vec3 anchor{body.meanRadius() + 20000.0, 0.0, 0.0};  // m
        static_cast<void>(body.gravity(anchor));
        static_cast<void>(body.surfaceVelocity(anchor));
        static_cast<void>(body.rotation(123.0));
        if (const Atmosphere* atmosphere = body.atmosphere()) {
            for (const double altitude : {-1.0e4, 0.0, 2.0e4, 8.6e4, 1.0e6, 1.0e300}) {
                const AtmosphereState state = atmosphere->at(altitude);
                static_cast<void>(atmosphere->speedOfSound(state.temperatureK));
            }
        }
    } catch (const HostFileError& error) {
        aeroquin::fuzz::checkNamesFile(error.what(), name);
    }
    return 0;
}
