#include "host/world/Atmosphere.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace aeroquin::host {
namespace {

AtmosphereParams earthAir() {
    AtmosphereParams p;
    p.model = AtmosphereModel::US1976;
    p.gasConstant = 286.91;
    p.gamma = 1.4;
    p.pressure0Pa = 101325.0;
    p.density0KgM3 = 1.225;
    p.altLimitM = 2.5e6;
    return p;
}

constexpr double earthRadius = 6.37101e6;
constexpr double earthGm = 3.986004418e14;

// Half a unit of the last digit the reference prints, e.g. "216.650" -> 0.0005,
// "1.8458e-05" -> 5e-10.
double printedTolerance(const std::string& text) {
    const auto e = text.find_first_of("eE");
    const std::string mantissa = text.substr(0, e);
    const int exponent = e == std::string::npos ? 0 : std::stoi(text.substr(e + 1));
    const auto point = mantissa.find('.');
    const int decimals =
        point == std::string::npos ? 0 : static_cast<int>(mantissa.size() - point - 1);
    return 0.5 * std::pow(10.0, exponent - decimals);
}

struct ReferenceRow {
    double altitude;
    std::string temperature;
    std::string pressure;
    std::string density;
};

std::vector<ReferenceRow> readReference() {
    std::ifstream in(AEROQUIN_US1976_CSV);
    std::vector<ReferenceRow> rows;
    std::string line;
    bool header = true;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        if (header) {
            header = false;
            continue;
        }
        std::stringstream fields(line);
        std::string z, h, t, p, rho;
        std::getline(fields, z, ',');
        std::getline(fields, h, ',');
        std::getline(fields, t, ',');
        std::getline(fields, p, ',');
        std::getline(fields, rho, ',');
        rows.push_back({std::stod(z), t, p, rho});
    }
    return rows;
}

TEST(US1976, MatchesTheReferenceTableOnEveryRow) {
    const auto rows = readReference();
    ASSERT_GE(rows.size(), 14u) << "reference table " << AEROQUIN_US1976_CSV << " not read";
    const Atmosphere air(earthAir(), earthRadius, earthGm);
    for (const auto& row : rows) {
        const AtmosphereState s = air.at(row.altitude);
        SCOPED_TRACE("altitude " + std::to_string(row.altitude));
        EXPECT_NEAR(s.temperatureK, std::stod(row.temperature), printedTolerance(row.temperature));
        EXPECT_NEAR(s.pressurePa, std::stod(row.pressure), printedTolerance(row.pressure));
        EXPECT_NEAR(s.densityKgM3, std::stod(row.density), printedTolerance(row.density));
    }
}

TEST(US1976, HoldsTheTopTemperatureAndKeepsFallingAbove86Km) {
    const Atmosphere air(earthAir(), earthRadius, earthGm);
    // The standard's top: 214.65 K at 71 km geopotential, -2 K/km to 84.852 km.
    const double top = 214.65 - 2.0 * 13.852;
    EXPECT_NEAR(air.at(86000.0).temperatureK, top, 1e-3);
    EXPECT_NEAR(air.at(86000.0).pressurePa, 0.37338, 0.00002);  // published: 3.7338e-1 Pa
    EXPECT_DOUBLE_EQ(air.at(150000.0).temperatureK, top);
    // Continuous across 86 km, and falling all the way to the limit.
    EXPECT_NEAR(air.at(85999.0).pressurePa / air.at(86001.0).pressurePa, 1.0, 1e-3);
    double previous = air.at(86000.0).pressurePa;
    for (double z = 90000.0; z <= 2.5e6; z += 10000.0) {
        const double p = air.at(z).pressurePa;
        EXPECT_LT(p, previous) << z;
        EXPECT_GE(p, 0.0);
        previous = p;
    }
}

TEST(US1976, NoAirAboveTheLimit) {
    AtmosphereParams params = earthAir();
    params.altLimitM = 90000.0;
    const Atmosphere air(params, earthRadius, earthGm);
    // At the top itself there is no air either, and the temperature reads 0 as well.
    const AtmosphereState top = air.at(90000.0);
    EXPECT_EQ(top.pressurePa, 0.0);
    EXPECT_EQ(top.densityKgM3, 0.0);
    EXPECT_EQ(top.temperatureK, 0.0);
    EXPECT_NEAR(air.at(89999.5).temperatureK, 186.946, 1e-3);
    EXPECT_GT(air.at(89999.5).densityKgM3, 0.0);
}

TEST(US1976, SpeedOfSoundUsesTheConfiguredGas) {
    const Atmosphere air(earthAir(), earthRadius, earthGm);
    EXPECT_NEAR(air.speedOfSound(288.15), 340.2093, 1e-4);  // sqrt(1.4 * 286.91 * 288.15)
}

AtmosphereParams flatAir() {
    AtmosphereParams p;
    p.model = AtmosphereModel::Isothermal;
    p.gasConstant = 250.0;
    p.gamma = 1.44;
    p.pressure0Pa = 100000.0;
    p.density0KgM3 = 1.6;
    p.altLimitM = 150000.0;
    return p;
}

struct IsothermalCase {
    double altitude;
    double pressure;
    double density;
};

class Isothermal : public ::testing::TestWithParam<IsothermalCase> {};

// The simulator's configured air: T = 288.16 K whatever p0, rho0 and R say;
// C = rho0 g0 / p0 = 1.6 * (6.25e12 / 1e6^2) / 1e5 = 1e-4 per metre.
TEST_P(Isothermal, FollowsTheBarometricFormula) {
    const Atmosphere air(flatAir(), 1.0e6, 6.25e12);
    const auto& c = GetParam();
    const AtmosphereState s = air.at(c.altitude);
    EXPECT_DOUBLE_EQ(s.temperatureK, 288.16);
    EXPECT_NEAR(s.pressurePa, c.pressure, c.pressure * 1e-12);
    EXPECT_NEAR(s.densityKgM3, c.density, c.density * 1e-12);
}

INSTANTIATE_TEST_SUITE_P(
    HandValues, Isothermal,
    ::testing::Values(IsothermalCase{0.0, 100000.0, 1.6},
                      IsothermalCase{10000.0, 36787.944117144233, 0.58860710587430773},
                      IsothermalCase{20000.0, 13533.52832366127, 0.21653645317858033},
                      IsothermalCase{100000.0, 4.5399929762484854, 7.2639887619975766e-05}));

TEST(Isothermal, NoAirNorTemperatureFromTheLimitUp) {
    const Atmosphere air(flatAir(), 1.0e6, 6.25e12);
    EXPECT_EQ(air.at(150000.0).densityKgM3, 0.0);
    EXPECT_EQ(air.at(150000.0).pressurePa, 0.0);
    EXPECT_EQ(air.at(150000.0).temperatureK, 0.0);
    EXPECT_DOUBLE_EQ(air.speedOfSound(250.0), 300.0);  // sqrt(1.44 * 250 * 250)
}

}  // namespace
}  // namespace aeroquin::host

namespace aeroquin::host {
namespace {

// The simulator's Earth (EarthAtmJ71G) as the simulator itself gave it, every 2.5 km from 0 to
// 90 km and around its layer changes (data/earth-simulator.csv says how it was measured): the
// 6 K step of the temperature at 12 km and the density's jump above 20 km are the simulator's.
TEST(J71G, MatchesTheSimulatorsEarthOnEveryRow) {
    AtmosphereParams params = earthAir();
    params.model = AtmosphereModel::J71G;
    const Atmosphere air(params, earthRadius, earthGm);
    std::ifstream in(AEROQUIN_EARTH_SIMULATOR_CSV);
    std::string line;
    int rows = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#' || line[0] == 'z') {
            continue;
        }
        std::stringstream fields(line);
        std::array<double, 4> v{};  // z (m), T (K), rho (kg/m^3), p (Pa)
        for (double& value : v) {
            std::string field;
            std::getline(fields, field, ',');
            value = std::stod(field);
        }
        const AtmosphereState s = air.at(v[0]);
        SCOPED_TRACE(line);
        EXPECT_NEAR(s.temperatureK / v[1], 1.0, 1e-6);
        EXPECT_NEAR(s.densityKgM3 / v[2], 1.0, 1e-6);
        EXPECT_NEAR(s.pressurePa / v[3], 1.0, 1e-6);
        ++rows;
    }
    EXPECT_EQ(rows, 42) << AEROQUIN_EARTH_SIMULATOR_CSV;
    // Continuous where the model's own layers meet at its top, and falling on above 90 km.
    EXPECT_NEAR(air.at(89999.0).densityKgM3 / air.at(90001.0).densityKgM3, 1.0, 1e-3);
    EXPECT_LT(air.at(120000.0).densityKgM3, air.at(90001.0).densityKgM3);
}

}  // namespace
}  // namespace aeroquin::host
