#include "host/world/Scenario.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>
#include <numbers>
#include <set>

#include "host/support/ParseNumber.h"
#include "host/support/PlainName.h"
#include "host/world/Angles.h"

namespace aeroquin::host {

namespace {

std::vector<std::string_view> splitBlanks(std::string_view text) {
    std::vector<std::string_view> tokens;
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (text[pos] == ' ' || text[pos] == '\t') {
            ++pos;
            continue;
        }
        const std::size_t end = text.find_first_of(" \t", pos);
        tokens.push_back(text.substr(pos, end == std::string_view::npos ? end : end - pos));
        pos = end == std::string_view::npos ? text.size() : end;
    }
    return tokens;
}

// A frame number item: absent, or decimal digits alone of at least 1 (a frame is counted, not
// measured).
std::optional<std::uint64_t> frameItem(const ItemFile& items, const std::string& key) {
    const auto text = items.find(key);
    if (!text) {
        return std::nullopt;
    }
    std::uint64_t frame = 0;
    const char* last = text->data() + text->size();
    const auto [end, error] = std::from_chars(text->data(), last, frame);
    if (error != std::errc() || end != last || frame < 1) {
        throw items.error(key, key + " must be a whole number of at least 1");
    }
    return frame;
}

// Pairs of a control type and a level: "Elevator 0.3 Rudder -0.1".
std::vector<ControlHold> holdsItem(const ItemFile& items, const std::string& key) {
    std::vector<ControlHold> holds;
    const auto text = items.find(key);
    if (!text) {
        return holds;
    }
    const auto tokens = splitBlanks(*text);
    for (std::size_t i = 0; i < tokens.size(); i += 2) {
        const auto type = controlTypeNamed(tokens[i]);
        const auto level = i + 1 < tokens.size() ? parseNumber(tokens[i + 1]) : std::nullopt;
        if (!type || !level || !std::isfinite(*level)) {
            throw items.error(key, key + " must be pairs of a control type (" + controlTypeList() +
                                       ") and a level");
        }
        holds.push_back({*type, *level});
    }
    return holds;
}

VesselPlacement readPlacement(const ItemFile& items, std::string name, std::string className,
                              bool hasBody) {
    VesselPlacement placement;
    placement.line = items.lineOf("Vessels");
    const std::string status = name + ".Status";
    placement.status = items.optionalChoice(status, {"Landed", "Flying"}, hasBody ? 0 : 1) == 0
                           ? StartStatus::Landed
                           : StartStatus::Flying;
    if (placement.status == StartStatus::Landed && !hasBody) {
        throw items.error(status, status + " Landed needs a body");
    }

    const std::string altitude = name + ".Altitude";
    placement.altitudeM = items.optionalNumber(altitude, placement.altitudeM);
    if (placement.altitudeM <= 0.0) {
        throw items.error(altitude, altitude + " must be positive");
    }
    placement.longitudeRad = radians(items.optionalNumber(name + ".Longitude", 0.0));
    const std::string latitude = name + ".Latitude";
    const double latitudeDeg = items.optionalNumber(latitude, 0.0);
    if (latitudeDeg < -90.0 || latitudeDeg > 90.0) {
        throw items.error(latitude, latitude + " must lie within -90 and 90");
    }
    placement.latitudeRad = radians(latitudeDeg);

    placement.headingRad = radians(items.optionalNumber(name + ".Heading", 0.0));
    const std::string attitude = name + ".Attitude";
    if (const auto text = items.find(attitude)) {
        const auto angles = parseNumberList(*text);
        if (!angles || angles->size() != 3 || !std::isfinite((*angles)[0]) ||
            !std::isfinite((*angles)[1]) || !std::isfinite((*angles)[2])) {
            throw items.error(attitude, attitude + " must be three numbers (deg)");
        }
        placement.attitudeRad =
            Vec3{radians((*angles)[0]), radians((*angles)[1]), radians((*angles)[2])};
    }
    placement.attachedTo = items.find(name + ".AttachedTo").value_or("");
    placement.dockedTo = items.find(name + ".DockedTo").value_or("");
    if (!placement.attachedTo.empty() && !placement.dockedTo.empty()) {
        throw items.error(name + ".DockedTo",
                          name + " cannot be both attached (AttachedTo) and docked (DockedTo)");
    }
    placement.attachedAfterFrame = frameItem(items, name + ".AttachedAfterFrame");
    if (placement.attachedAfterFrame && placement.attachedTo.empty()) {
        throw items.error(name + ".AttachedAfterFrame",
                          name + ".AttachedAfterFrame needs " + name + ".AttachedTo");
    }
    placement.deletedAfterFrame = frameItem(items, name + ".DeletedAfterFrame");
    placement.createdAfterFrame = frameItem(items, name + ".CreatedAfterFrame");
    placement.holds = holdsItem(items, name + ".Holds");
    placement.name = std::move(name);
    placement.className = std::move(className);
    return placement;
}

// Each parent is another vessel of the scenario, and no chain of parents comes back to where it
// began.
void checkAttachments(const ItemFile& items, const std::vector<VesselPlacement>& vessels) {
    // Docked vessels move with the other as attached ones do.
    std::map<std::string_view, std::string_view> parents;
    std::set<std::string_view> docked;
    for (const VesselPlacement& vessel : vessels) {
        if (!vessel.attachedTo.empty()) {
            parents.emplace(vessel.name, vessel.attachedTo);
        } else if (!vessel.dockedTo.empty()) {
            parents.emplace(vessel.name, vessel.dockedTo);
            docked.insert(vessel.name);
        }
    }
    for (const auto& entry : parents) {
        // No structured binding: clang 14 does not capture one in a lambda.
        const std::string_view child = entry.first;
        const std::string_view parent = entry.second;
        const std::string key =
            std::string(child) + (docked.contains(child) ? ".DockedTo" : ".AttachedTo");
        if (parent == child) {
            throw items.error(key, key + ": a vessel cannot hang on itself");
        }
        const bool known = std::any_of(vessels.begin(), vessels.end(),
                                       [&](const VesselPlacement& v) { return v.name == parent; });
        if (!known) {
            throw items.error(key, key + ": " + std::string(parent) + " is no vessel of Vessels");
        }
        // A chain of parents ends within as many links as there are attached vessels.
        std::string_view up = parent;
        for (std::size_t links = 0; links < parents.size(); ++links) {
            const auto next = parents.find(up);
            if (next == parents.end()) {
                break;
            }
            if (next->second == child) {
                throw items.error(key, key + ": " + std::string(child) +
                                           " would hang on itself through " + std::string(parent));
            }
            up = next->second;
        }
    }
}

}  // namespace

Scenario Scenario::fromItems(const ItemFile& items) {
    Scenario scenario;
    scenario.file = items.name();
    const std::string body = items.requireString("Body");
    if (!equalsIgnoringCase(body, "None")) {
        if (!isPlainName(body)) {
            throw items.error("Body", "Body must name a file of Config without its extension");
        }
        scenario.body = body;
    }
    scenario.bodyLine = items.lineOf("Body");
    scenario.stepSizeS = items.optionalNumber("StepSize", scenario.stepSizeS);
    if (scenario.stepSizeS <= 0.0) {
        throw items.error("StepSize", "StepSize must be positive");
    }

    std::set<std::string, std::less<>> names;
    const std::string vessels = items.find("Vessels").value_or("");
    for (const auto token : splitBlanks(vessels)) {
        const std::size_t colon = token.find(':');
        const std::string_view name = token.substr(0, colon);
        const std::string_view className =
            colon == std::string_view::npos ? std::string_view{} : token.substr(colon + 1);
        if (name.empty() || !isPlainPath(className) ||
            className.find(':') != std::string_view::npos) {
            throw items.error("Vessels",
                              "Vessels: \"" + std::string(token) + "\" must be name:class");
        }
        if (!names.emplace(name).second) {
            throw items.error("Vessels", "Vessels: " + std::string(name) + " is named twice");
        }
        scenario.vessels.push_back(readPlacement(items, std::string(name), std::string(className),
                                                 scenario.body.has_value()));
    }
    checkAttachments(items, scenario.vessels);
    return scenario;
}

Scenario Scenario::load(const std::filesystem::path& root, const std::string& name) {
    const std::string file = name + ".scn";
    return fromItems(ItemFile::load(root / "Scenarios" / file, "Scenarios/" + file));
}

}  // namespace aeroquin::host
