// An airfoil's lift, drag and moment coefficients over a Mach x angle grid.
//
// Text: lines starting with '#' (after blanks) and blank lines are skipped; the first other
// line is the header "mach,aoa,cl,cd" or "mach,aoa,cl,cm,cd" (fields trimmed, letter case
// ignored); every further line is one grid point with its values in the header's order, the
// angle in degrees, points in any order. Without a cm column the moment coefficient is 0. The
// points must form a complete grid of at least two Mach values by two angles, each exactly
// once, all finite.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace aeroquin::host {

struct AeroCoefficients {
    double cl = 0.0;
    double cd = 0.0;
    double cm = 0.0;
};

class AeroTable {
  public:
    // `name` names the file in messages. Throws HostFileError "<name>:<line>: <what>".
    static AeroTable fromText(std::string_view text, const std::string& name);
    static AeroTable load(const std::filesystem::path& path, const std::string& name);

    // Bilinear in Mach and AOA (degrees); beyond the grid the edge value is held. NaN in, NaN
    // out.
    [[nodiscard]] AeroCoefficients at(double mach, double aoaDeg) const;

    [[nodiscard]] const std::vector<double>& machs() const { return machs_; }  // ascending
    [[nodiscard]] const std::vector<double>& aoas() const { return aoas_; }    // ascending, deg

  private:
    AeroTable(std::vector<double> machs, std::vector<double> aoas,
              std::vector<AeroCoefficients> values);

    std::vector<double> machs_;
    std::vector<double> aoas_;
    std::vector<AeroCoefficients> values_;  // [machIndex * aoas_.size() + aoaIndex]
};

}  // namespace aeroquin::host
