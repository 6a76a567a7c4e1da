#include "host/world/Scenario.h"

#include <cmath>
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
    placement.name = std::move(name);
    placement.className = std::move(className);
    return placement;
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
        if (name.empty() || !isPlainName(className) ||
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
    return scenario;
}

Scenario Scenario::load(const std::filesystem::path& root, const std::string& name) {
    const std::string file = name + ".scn";
    return fromItems(ItemFile::load(root / "Scenarios" / file, "Scenarios/" + file));
}

}  // namespace aeroquin::host
