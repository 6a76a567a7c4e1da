// The host's vessel-class reader on arbitrary bytes, read from a real file: a VesselClass or a
// HostFileError.
//
// Input: the class file's bytes, then optionally a NUL byte and the bytes of the coefficient
// table Table.csv beside it, so that "AeroTable = Table.csv" reaches a table the input shapes.
// Inputs whose AeroTable names a file in another folder are skipped: the reader follows any
// path it is given, and files such as /proc/kmsg never end.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/Check.h"
#include "host/support/HostFileError.h"
#include "host/support/ItemFile.h"
#include "host/world/VesselClass.h"
#include "tests/support/TempRoot.h"

using aeroquin::fuzz::check;
using namespace aeroquin::host;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const aeroquin::testsupport::TempRoot root;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\0');
    const std::string_view classText = input.substr(0, split);
    const std::string_view tableText =
        split == std::string_view::npos ? std::string_view{} : input.substr(split + 1);

    if (const auto table = ItemFile::fromText(classText, "").find("AeroTable");
        table && (table->find_first_of("/\\") != std::string::npos || *table == "..")) {
        return 0;
    }
    root.write("Config/Vessels/Fuzz.cfg", classText);
    root.write("Config/Vessels/Table.csv", tableText);
    try {
        const VesselClass vesselClass = VesselClass::load(root.path(), "Fuzz");
        check(vesselClass.name == "Fuzz", "the class carries its name");
        check(vesselClass.mass > 0.0, "the mass is positive");
        for (const Airfoil& airfoil : vesselClass.airfoils) {
            check(airfoil.areaM2 >= 0.0 && airfoil.chordM >= 0.0,
                  "areas and chords are not negative");
            static_cast<void>(airfoil.coefficients.at(nullptr, 0.1, 0.8, 1e6));
        }
    } catch (const HostFileError& error) {
        // The class file, or the table it names.
        const std::string_view message = error.what();
        check(message.starts_with("Config/Vessels/"), "the error names a file of the class");
    }
    return 0;
}
