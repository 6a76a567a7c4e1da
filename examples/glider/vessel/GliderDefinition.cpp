#include "GliderDefinition.h"

#include <cstdio>
#include <optional>
#include <sstream>
#include <stdexcept>

#include "examples/glider/aero/GliderAero.h"

namespace glider {

namespace {

class Items {
  public:
    explicit Items(FILEHANDLE file) : file_(file) {}

    [[nodiscard]] bool find(const std::string& key, std::string& value) const {
        std::string item = key;  // the Windows SDK takes a mutable text
        std::string buffer(aeroquin::simulator::kItemBufferSize, '\0');
        if (!oapiReadItem_string(file_, item.data(), buffer.data())) {
            return false;
        }
        value = buffer.c_str();
        return true;
    }

    [[nodiscard]] std::string text(const std::string& key) const {
        std::string value;
        if (!find(key, value)) {
            throw std::runtime_error("Glider.cfg: " + key + " is missing");
        }
        return value;
    }

    // Read as the simulator reads numbers: sscanf's "%lf", the rest of the value ignored.
    [[nodiscard]] double number(const std::string& key, double fallback, bool required) const {
        std::string value;
        if (!find(key, value)) {
            if (required) {
                throw std::runtime_error("Glider.cfg: " + key + " is missing");
            }
            return fallback;
        }
        double result = 0.0;
        if (std::sscanf(value.c_str(), "%lf", &result) != 1) {
            throw std::runtime_error("Glider.cfg: " + key + " is not a number");
        }
        return result;
    }

    [[nodiscard]] Triple triple(const std::string& key, const Triple& fallback) const {
        std::string value;
        if (!find(key, value)) {
            return fallback;
        }
        Triple result{};
        if (std::sscanf(value.c_str(), "%lf%lf%lf", &result[0], &result[1], &result[2]) != 3) {
            throw std::runtime_error("Glider.cfg: " + key + " is not three numbers");
        }
        return result;
    }

    [[nodiscard]] std::vector<std::string> names(const std::string& key) const {
        std::string value;
        std::vector<std::string> result;
        if (find(key, value)) {
            std::istringstream words(value);
            for (std::string word; words >> word;) {
                result.push_back(word);
            }
        }
        return result;
    }

    // The index of the value among `choices`, exactly as spelt; `fallback` when the item is
    // missing, which without one it must not be.
    [[nodiscard]] std::size_t choice(const std::string& key,
                                     const std::vector<std::string>& choices,
                                     std::optional<std::size_t> fallback) const {
        std::string value;
        if (!find(key, value)) {
            if (!fallback) {
                throw std::runtime_error("Glider.cfg: " + key + " is missing");
            }
            return *fallback;
        }
        for (std::size_t i = 0; i < choices.size(); ++i) {
            if (value == choices[i]) {
                return i;
            }
        }
        throw std::runtime_error("Glider.cfg: " + key + " is not one of its choices");
    }

  private:
    FILEHANDLE file_;
};

}  // namespace

CoefficientFunction functionNamed(const std::string& name) {
    if (name == "GliderWing") {
        return GliderWing;
    }
    if (name == "GliderTail") {
        return GliderTail;
    }
    if (name == "GliderFin") {
        return GliderFin;
    }
    return nullptr;
}

Definition readDefinition(FILEHANDLE classFile) {
    const Items items(classFile);
    Definition definition;
    definition.massKg = items.number("Mass", 0.0, true);
    definition.landedHeightM = items.number("LandedHeight", 0.0, false);
    definition.inertiaM2 = items.triple("Inertia", definition.inertiaM2);
    definition.crossSectionsM2 = items.triple("CrossSections", definition.crossSectionsM2);
    definition.rotResistance = items.triple("RotResistance", definition.rotResistance);
    for (const std::string& name : items.names("Airfoils")) {
        const std::string prefix = name + ".";
        AirfoilDefinition airfoil;
        airfoil.name = name;
        const std::string lift = items.text(prefix + "Lift");
        if (lift != "Vertical" && lift != "Horizontal") {
            throw std::runtime_error("Glider.cfg: " + prefix +
                                     "Lift must be Vertical or Horizontal");
        }
        airfoil.vertical = lift == "Vertical";
        airfoil.positionM = items.triple(prefix + "Position", airfoil.positionM);
        airfoil.chordM = items.number(prefix + "Chord", 0.0, true);
        airfoil.areaM2 = items.number(prefix + "Area", 0.0, true);
        airfoil.aspectRatio = items.number(prefix + "AspectRatio", 0.0, false);
        airfoil.function = items.text(prefix + "Function");
        definition.airfoils.push_back(airfoil);
    }
    for (const std::string& name : items.names("DragElements")) {
        DragElementDefinition element;
        element.name = name;
        element.positionM = items.triple(name + ".Position", element.positionM);
        element.factorM2 = items.number(name + ".Factor", 0.0, true);
        definition.dragElements.push_back(element);
    }
    for (const std::string& name : items.names("ControlSurfaces")) {
        const std::string prefix = name + ".";
        ControlSurfaceDefinition surface;
        surface.name = name;
        surface.type = static_cast<ControlType>(items.choice(
            prefix + "Type",
            {"Elevator", "Rudder", "Aileron", "Flap", "ElevatorTrim", "RudderTrim"}, std::nullopt));
        surface.areaM2 = items.number(prefix + "Area", 0.0, true);
        surface.dCl = items.number(prefix + "dCl", 0.0, true);
        surface.positionM = items.triple(prefix + "Position", surface.positionM);
        surface.axis = static_cast<ControlAxis>(
            items.choice(prefix + "Axis", {"Auto", "XPos", "XNeg", "YPos", "YNeg"}, 0));
        surface.delayS = items.number(prefix + "Delay", surface.delayS, false);
        definition.controlSurfaces.push_back(surface);
    }
    return definition;
}

}  // namespace glider
