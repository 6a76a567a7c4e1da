#include "host/world/VesselClass.h"

#include <cmath>
#include <limits>
#include <map>
#include <memory>
#include <system_error>
#include <utility>

#include "host/world/CoefficientLibrary.h"
#include "host/world/ParseNumber.h"
#include "host/world/PlainName.h"

namespace aeroquin::host {

namespace {

const std::string classFolderName = "Config/Vessels";
const std::string modulesFolderName = "Modules";

// Three finite numbers, each at least `minimum`; `fallback` when the item is missing.
Vec3 readVector(const ItemFile& items, const std::string& key, const Vec3& fallback,
                double minimum = -std::numeric_limits<double>::infinity()) {
    const auto text = items.find(key);
    if (!text) {
        return fallback;
    }
    const auto values = parseNumberList(*text);
    if (!values || values->size() != 3) {
        throw items.error(key, key + " must be three numbers");
    }
    for (const double value : *values) {
        if (!std::isfinite(value) || value < minimum) {
            throw items.error(key, key + (minimum == 0.0 ? " must not be negative"
                                                         : " must be finite and positive"));
        }
    }
    return {(*values)[0], (*values)[1], (*values)[2]};
}

double readNonNegative(const ItemFile& items, const std::string& key,
                       std::optional<double> fallback = std::nullopt) {
    const double value = fallback && !items.find(key) ? *fallback : items.requireNumber(key);
    if (value < 0.0) {
        throw items.error(key, key + " must not be negative");
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
                throw items.error(key, key + " names " + name + " twice");
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
    Sources(const ItemFile& items, const std::filesystem::path& root)
        : items_(items), root_(root) {}

    CoefficientSource table(const std::string& key) {
        const std::string file = items_.requireString(key);
        if (!isPlainName(file)) {
            throw items_.error(key, key + " must name a file beside the class file");
        }
        auto& table = tables_[file];
        if (!table) {
            const auto path = root_ / "Config" / "Vessels" / file;
            // A name the file system refuses (too long, say) is a file that is not there.
            std::error_code error;
            if (!std::filesystem::is_regular_file(path, error)) {
                throw items_.error(key, key + " " + classFolderName + "/" + file + " not found");
            }
            table = std::make_shared<const AeroTable>(
                AeroTable::load(path, classFolderName + "/" + file));
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
            std::error_code error;
            if (!std::filesystem::is_regular_file(path, error)) {
                throw items_.error(
                    libraryKey, libraryKey + " " + modulesFolderName + "/" + file + " not found");
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
            throw items_.error(
                functionKey, functionKey + " " + symbol + " is not defined in " + library->name());
        }
        return {library, callback, symbol, std::move(airfoil),
                items_.name() + ":" + std::to_string(items_.lineOf(functionKey))};
    }

  private:
    const ItemFile& items_;
    const std::filesystem::path& root_;
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
                   readVector(items, prefix + "Position", {}),
                   readNonNegative(items, prefix + "Chord"),
                   readNonNegative(items, prefix + "Area"),
                   readNonNegative(items, prefix + "AspectRatio", 0.0),
                   hasTable ? sources.table(prefix + "Table")
                            : sources.function(libraryKey, prefix + "Function", name)};
}

}  // namespace

VesselClass VesselClass::fromItems(const ItemFile& items, std::string name,
                                   const std::filesystem::path& root) {
    VesselClass vesselClass;
    vesselClass.name = std::move(name);
    vesselClass.mass = items.requirePositive("Mass");
    vesselClass.landedHeight = readNonNegative(items, "LandedHeight", 0.0);
    vesselClass.inertiaM2 = readVector(items, "Inertia", vesselClass.inertiaM2);
    if (!(vesselClass.inertiaM2.x > 0.0 && vesselClass.inertiaM2.y > 0.0 &&
          vesselClass.inertiaM2.z > 0.0)) {
        throw items.error("Inertia", "Inertia must be three positive numbers");
    }
    vesselClass.crossSectionsM2 = readVector(items, "CrossSections", {}, 0.0);
    // The simulator's key, and this host's older name for it.
    vesselClass.rotationDrag =
        readVector(items, items.find("RotResistance") ? "RotResistance" : "RotDrag",
                   vesselClass.rotationDrag, 0.0);

    Sources sources(items, root);
    const std::vector<std::string> airfoils = readNames(items, "Airfoils");
    if (airfoils.empty()) {
        // The single-table class: one vertical airfoil of ReferenceArea at the centre of gravity.
        const double area = items.requirePositive("ReferenceArea");
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
            DragElement{element, readVector(items, element + ".Position", {}),
                        readNonNegative(items, element + ".Factor")});
    }
    return vesselClass;
}

VesselClass VesselClass::load(const std::filesystem::path& root, const std::string& name) {
    const std::string file = name + ".cfg";
    return fromItems(
        ItemFile::load(root / "Config" / "Vessels" / file, classFolderName + "/" + file), name,
        root);
}

}  // namespace aeroquin::host
