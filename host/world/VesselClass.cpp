#include "host/world/VesselClass.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <map>
#include <memory>
#include <sstream>
#include <system_error>
#include <utility>

#include "host/support/ParseNumber.h"
#include "host/support/PlainName.h"
#include "host/world/Angles.h"
#include "host/world/CoefficientLibrary.h"

namespace aeroquin::host {

namespace {

const std::string classFolderName = "Config/Vessels";
const std::string modulesFolderName = "Modules";

// Bounds that no real vessel reaches. Beyond them a flight leaves the finite numbers within a
// step or two: a vessel of a microgram flung away by its air, a wing of 1e300 m^2.
constexpr double minimumMassKg = 1e-3;     // a gram
constexpr double minimumInertiaM2 = 1e-6;  // per unit mass: a body of a millimetre
constexpr double maximumAreaM2 = 1e6;      // a square kilometre
constexpr double maximumLengthM = 1e4;     // chords, heights, positions: ten kilometres
// A control surface's lift coefficient per unit level: real ones have a few.
constexpr double maximumLiftSlope = 100.0;

std::string numberText(double value) {
    std::ostringstream text;
    text << value;
    return text.str();
}

// Three finite numbers within [minimum, maximum]; `fallback` when the item is missing.
Vec3 readVector(const ItemFile& items, const std::string& key, const Vec3& fallback, double minimum,
                double maximum, const char* unit) {
    const auto text = items.find(key);
    if (!text) {
        return fallback;
    }
    const auto values = parseNumberList(*text);
    if (!values || values->size() != 3) {
        throw items.error(key, key + " must be three numbers");
    }
    for (const double value : *values) {
        if (!std::isfinite(value)) {
            throw items.error(key, key + " must be three finite numbers");
        }
        if (value < minimum) {
            throw items.error(key, key + (minimum == 0.0 ? " must not be negative"
                                                         : " must be at least " +
                                                               numberText(minimum) + " " + unit));
        }
        if (value > maximum) {
            throw items.error(key, key + " must be at most " + numberText(maximum) + " " + unit);
        }
    }
    return {(*values)[0], (*values)[1], (*values)[2]};
}

Vec3 readPosition(const ItemFile& items, const std::string& key) {
    return readVector(items, key, {}, -maximumLengthM, maximumLengthM, "m");
}

double readNonNegative(const ItemFile& items, const std::string& key, double maximum,
                       const char* unit, std::optional<double> fallback = std::nullopt) {
    const double value = fallback && !items.find(key) ? *fallback : items.requireNumber(key);
    if (value < 0.0) {
        throw items.error(key, key + " must not be negative");
    }
    if (value > maximum) {
        throw items.error(key, key + " must be at most " + numberText(maximum) + " " + unit);
    }
    return value;
}

// Blank-separated names, each at most once.
std::vector<std::string> readNames(const ItemFile& items, const std::string& key) {
    std::vector<std::string> names;
    const auto text = items.find(key);
    if (!text) {
        return names;
    }
    std::size_t pos = 0;
    while ((pos = text->find_first_not_of(" \t", pos)) != std::string::npos) {
        const std::size_t end = text->find_first_of(" \t", pos);
        std::string name = text->substr(pos, end - pos);
        for (const auto& seen : names) {
            if (equalsIgnoringCase(seen, name)) {
                std::string detail = key;
                detail.append(" names ").append(name).append(" twice");
                throw items.error(key, detail);
            }
        }
        names.push_back(std::move(name));
        pos = end;
    }
    return names;
}

// Loads each table and library once per class.
class Sources {
  public:
    // `classFolder`: the class file's folder below the root, e.g. "Config/Vessels/Sub".
    Sources(const ItemFile& items, const std::filesystem::path& root, std::string classFolder)
        : items_(items), root_(root), classFolder_(std::move(classFolder)) {}

    CoefficientSource table(const std::string& key) {
        const std::string file = items_.requireString(key);
        if (!isPlainName(file)) {
            throw items_.error(key, key + " must name a file beside the class file");
        }
        auto& table = tables_[file];
        if (!table) {
            const std::string name = classFolder_ + "/" + file;
            if (const std::string why = whyNotAFile(root_ / name); !why.empty()) {
                throw items_.error(key, key + " " + name + " " + why);
            }
            table = std::make_shared<const AeroTable>(AeroTable::load(root_ / name, name));
        }
        return CoefficientSource(table);
    }

    CoefficientSource function(const std::string& libraryKey, const std::string& functionKey,
                               std::string airfoil) {
        const std::string file = items_.requireString(libraryKey);
        if (!isPlainName(file)) {
            throw items_.error(libraryKey,
                               libraryKey + " must name a file in " + modulesFolderName + "/");
        }
        auto& library = libraries_[file];
        if (!library) {
            const auto path = root_ / modulesFolderName / file;
            if (const std::string why = whyNotAFile(path); !why.empty()) {
                throw items_.error(libraryKey,
                                   libraryKey + " " + modulesFolderName + "/" + file + " " + why);
            }
            try {
                library = std::make_shared<const CoefficientLibrary>(
                    path, modulesFolderName + "/" + file);
            } catch (const HostFileError& e) {
                throw items_.error(libraryKey, e.what());
            }
        }
        const std::string symbol = items_.requireString(functionKey);
        const AirfoilCallback callback = library->function(symbol);
        if (callback == nullptr) {
            throw items_.error(functionKey,
                               functionKey + " " + symbol +
                                   (library->defines(symbol)
                                        ? " of " + library->name() + " is data, not a function"
                                        : " is not defined in " + library->name()));
        }
        return {library, callback, symbol, std::move(airfoil),
                items_.name() + ":" + std::to_string(items_.lineOf(functionKey))};
    }

  private:
    const ItemFile& items_;
    const std::filesystem::path& root_;
    std::string classFolder_;
    std::map<std::string, std::shared_ptr<const AeroTable>> tables_;
    std::map<std::string, std::shared_ptr<const CoefficientLibrary>> libraries_;
};

Airfoil readAirfoil(const ItemFile& items, const std::string& name, Sources& sources) {
    const std::string prefix = name + ".";
    const std::size_t axis = items.requireChoice(prefix + "Lift", {"Vertical", "Horizontal"});
    const bool hasTable = items.find(prefix + "Table").has_value();
    const bool hasFunction = items.find(prefix + "Function").has_value();
    if (hasTable == hasFunction) {
        throw items.error(
            hasTable ? prefix + "Function" : prefix + "Lift",
            "airfoil " + name + " needs either " + prefix + "Table or " + prefix + "Function");
    }
    std::string libraryKey = prefix + "Library";
    if (!items.find(libraryKey)) {
        libraryKey = "Library";
    }
    return Airfoil{name,
                   axis == 0 ? LiftAxis::Vertical : LiftAxis::Horizontal,
                   readPosition(items, prefix + "Position"),
                   readNonNegative(items, prefix + "Chord", maximumLengthM, "m"),
                   readNonNegative(items, prefix + "Area", maximumAreaM2, "m^2"),
                   readNonNegative(items, prefix + "AspectRatio", maximumLengthM, "", 0.0),
                   hasTable ? sources.table(prefix + "Table")
                            : sources.function(libraryKey, prefix + "Function", name)};
}

ControlSurface readControlSurface(const ItemFile& items, const std::string& name) {
    const std::string prefix = name + ".";
    const std::string typeKey = prefix + "Type";
    const auto type = controlTypeNamed(items.requireString(typeKey));
    if (!type) {
        throw items.error(typeKey, typeKey + " must be one of " + controlTypeList());
    }
    const std::string slopeKey = prefix + "dCl";
    const double slope = items.requireNumber(slopeKey);
    if (std::abs(slope) > maximumLiftSlope) {
        throw items.error(slopeKey, slopeKey + " must lie within -" + numberText(maximumLiftSlope) +
                                        " and " + numberText(maximumLiftSlope));
    }
    // In ControlAxis's order.
    const std::size_t axis =
        items.optionalChoice(prefix + "Axis", {"Auto", "XPos", "XNeg", "YPos", "YNeg"}, 0);
    const Vec3 position = readPosition(items, prefix + "Position");
    const double area = readNonNegative(items, prefix + "Area", maximumAreaM2, "m^2");
    const ControlAxis resolved = resolvedAxis(*type, static_cast<ControlAxis>(axis), position);
    return ControlSurface{name, *type, area, slope, position, resolved};
}

// Keys of the file that this host does not read, as "<file>:<line>: ..." warnings. The
// simulator's own keys (meshes, thrusters, ...) are among them: the host leaves them be.
std::vector<std::string> unknownItemsOf(const ItemFile& items,
                                        const std::vector<std::string>& airfoils,
                                        const std::vector<DragElement>& dragElements,
                                        const std::vector<ControlSurface>& surfaces) {
    // ClassName and Module are the simulator's, and known here: the class is its file, and the
    // simulator's vessel module is no part of this host.
    std::vector<std::string> known{
        "Mass",         "LandedHeight",  "Inertia",   "CrossSections",  "RotResistance",
        "RotDrag",      "ReferenceArea", "AeroTable", "Airfoils",       "Library",
        "DragElements", "ClassName",     "Module",    "ControlSurfaces"};
    for (const std::string& airfoil : airfoils) {
        for (const char* item :
             {"Lift", "Position", "Chord", "Area", "AspectRatio", "Table", "Function", "Library"}) {
            known.push_back(airfoil + "." + item);
        }
    }
    for (const DragElement& element : dragElements) {
        known.push_back(element.name + ".Position");
        known.push_back(element.name + ".Factor");
    }
    for (const ControlSurface& surface : surfaces) {
        for (const char* item : {"Type", "Area", "dCl", "Position", "Axis", "Delay"}) {
            known.push_back(surface.name + "." + item);
        }
    }
    std::vector<std::string> warnings;
    for (const auto& item : items.keys()) {
        const std::string& key = item.first;
        const bool isKnown = std::any_of(known.begin(), known.end(), [&key](const std::string& k) {
            return equalsIgnoringCase(k, key);
        });
        if (!isKnown) {
            warnings.push_back(items.name() + ":" + std::to_string(item.second) + ": " + key +
                               " is no item of this host; ignored");
        }
    }
    return warnings;
}

}  // namespace

VesselClass VesselClass::fromItems(const ItemFile& items, std::string name,
                                   const std::filesystem::path& root) {
    VesselClass vesselClass;
    vesselClass.name = std::move(name);
    vesselClass.mass = items.requirePositive("Mass");
    if (vesselClass.mass < minimumMassKg) {
        throw items.error("Mass", "Mass must be at least " + numberText(minimumMassKg) + " kg");
    }
    vesselClass.landedHeight = readNonNegative(items, "LandedHeight", maximumLengthM, "m", 0.0);
    vesselClass.inertiaM2 = readVector(items, "Inertia", vesselClass.inertiaM2, minimumInertiaM2,
                                       maximumLengthM * maximumLengthM, "m^2");
    vesselClass.crossSectionsM2 = readVector(items, "CrossSections", {}, 0.0, maximumAreaM2, "m^2");
    // The simulator's key, and this host's older name for it.
    vesselClass.rotationDrag =
        readVector(items, items.find("RotResistance") ? "RotResistance" : "RotDrag",
                   vesselClass.rotationDrag, 0.0, std::numeric_limits<double>::max(), "");

    // A class in a sub-folder ("Sub/TestWing") finds its tables beside it.
    const std::size_t slash = vesselClass.name.rfind('/');
    Sources sources(items, root,
                    slash == std::string::npos
                        ? classFolderName
                        : classFolderName + "/" + vesselClass.name.substr(0, slash));
    const std::vector<std::string> airfoils = readNames(items, "Airfoils");
    if (airfoils.empty()) {
        // The single-table class: one vertical airfoil of ReferenceArea at the centre of gravity.
        const double area = items.requirePositive("ReferenceArea");
        if (area > maximumAreaM2) {
            throw items.error("ReferenceArea", "ReferenceArea must be at most " +
                                                   numberText(maximumAreaM2) + " m^2");
        }
        if (items.find("AeroTable")) {
            vesselClass.airfoils.push_back(Airfoil{
                "AeroTable", LiftAxis::Vertical, {}, 1.0, area, 0.0, sources.table("AeroTable")});
        }
    } else if (items.find("AeroTable")) {
        throw items.error("AeroTable", "AeroTable and Airfoils exclude each other");
    }
    for (const std::string& airfoil : airfoils) {
        vesselClass.airfoils.push_back(readAirfoil(items, airfoil, sources));
        if (vesselClass.airfoils.back().areaM2 == 0.0 && !items.find("CrossSections")) {
            throw items.error(airfoil + ".Area", "airfoil " + airfoil +
                                                     " has Area 0 (the projected cross-section): "
                                                     "CrossSections needed");
        }
    }
    for (const std::string& element : readNames(items, "DragElements")) {
        vesselClass.dragElements.push_back(
            DragElement{element, readPosition(items, element + ".Position"),
                        readNonNegative(items, element + ".Factor", maximumAreaM2, "m^2")});
    }
    for (const std::string& surface : readNames(items, "ControlSurfaces")) {
        const auto isPart = [&surface](const std::string& part) {
            return equalsIgnoringCase(part, surface);
        };
        if (std::any_of(airfoils.begin(), airfoils.end(), isPart) ||
            std::any_of(vesselClass.dragElements.begin(), vesselClass.dragElements.end(),
                        [&isPart](const DragElement& element) { return isPart(element.name); })) {
            throw items.error("ControlSurfaces", "ControlSurfaces names " + surface +
                                                     ", which is an airfoil or drag element too");
        }
        vesselClass.controlSurfaces.push_back(readControlSurface(items, surface));
        // As the simulator's CreateControlSurface3: the type's delay is its last surface's.
        vesselClass.controlDelaysS.at(controlIndex(vesselClass.controlSurfaces.back().type)) =
            readNonNegative(items, surface + ".Delay", std::numeric_limits<double>::max(), "s",
                            ControlLevels::defaultDelayS);
    }
    vesselClass.unknownItems =
        unknownItemsOf(items, airfoils, vesselClass.dragElements, vesselClass.controlSurfaces);
    if (vesselClass.airfoils.empty() && vesselClass.dragElements.empty()) {
        // A misspelt AeroTable, say: a capture of it would be rows of zeros and NaN.
        std::string detail =
            "the class defines no lift and no drag: it needs AeroTable, Airfoils or DragElements";
        for (const std::string& warning : vesselClass.unknownItems) {
            detail += "\n" + warning;
        }
        throw items.error("Airfoils", detail);
    }
    if (vesselClass.airfoils.empty() && !vesselClass.controlSurfaces.empty()) {
        throw items.error("ControlSurfaces",
                          "control surfaces need an airfoil: the simulator's model of a vessel "
                          "without airfoils ignores them");
    }
    return vesselClass;
}

VesselClass VesselClass::load(const std::filesystem::path& root, const std::string& name) {
    const std::string file = name + ".cfg";
    return fromItems(
        ItemFile::load(root / "Config" / "Vessels" / file, classFolderName + "/" + file), name,
        root);
}

void probeCoefficientFunctions(const VesselClass& vesselClass, VESSEL* self) {
    constexpr std::array machs{0.0, 0.3, 0.6, 0.8, 0.9, 0.95, 1.0, 1.05,
                               1.1, 1.2, 1.5, 2.0, 3.0, 5.0,  10.0};
    // Re0 per unit Mach of sea-level air, 1/m: the probe needs plausible values, not exact ones.
    constexpr double reynoldsPerMach = 2.3e7;
    for (const Airfoil& airfoil : vesselClass.airfoils) {
        if (!airfoil.coefficients.isFunction()) {
            continue;
        }
        for (const double mach : machs) {
            for (int angleDeg = -180; angleDeg <= 180; angleDeg += 5) {
                static_cast<void>(airfoil.coefficients.at(self, radians(angleDeg), mach,
                                                          reynoldsPerMach * mach * airfoil.chordM));
            }
        }
    }
}

}  // namespace aeroquin::host
