#include "host/world/Airfoil.h"

#include <cmath>
#include <numbers>
#include <sstream>
#include <stdexcept>
#include <utility>

#include "host/world/Angles.h"
#include "host/world/CallInProgress.h"
#include "host/world/CoefficientLibrary.h"
#include "host/world/NonFiniteError.h"

namespace aeroquin::host {

CoefficientSource::CoefficientSource(std::shared_ptr<const AeroTable> table)
    : table_(std::move(table)) {}

CoefficientSource::CoefficientSource(std::shared_ptr<const CoefficientLibrary> library,
                                     AirfoilCallback function, std::string symbol,
                                     std::string airfoil, std::string origin)
    : library_(std::move(library)),
      function_(function),
      symbol_(std::move(symbol)),
      context_(std::make_shared<std::string>(std::move(airfoil))),
      origin_(std::move(origin)),
      description_(std::make_shared<std::string>(
          "the coefficient function " + symbol_ + " of " +
          (library_ != nullptr ? library_->name() : std::string("(no library)")) + ", airfoil " +
          *context_)) {}

AeroCoefficients CoefficientSource::at(VESSEL* vessel, double angleRad, double mach,
                                       double reynolds) const {
    if (!std::isfinite(angleRad) || !std::isfinite(mach) || !std::isfinite(reynolds)) {
        // Not the coefficients' fault: they are not asked.
        std::ostringstream message;
        message << "airfoil " << *context_ << ": its airflow is not finite (angle " << angleRad
                << " rad, Mach " << mach << ", Reynolds number " << reynolds << ")";
        throw NonFiniteError(message.str());
    }
    if (function_ != nullptr) {
        double cl = 0.0;
        double cm = 0.0;
        double cd = 0.0;
        {
            const CallScope scope(description_->c_str());
            function_(vessel, angleRad, mach, reynolds, context_->data(), &cl, &cm, &cd);
        }
        for (const auto& [label, value] : {std::pair{"cl", cl}, {"cm", cm}, {"cd", cd}}) {
            if (!std::isfinite(value)) {
                std::ostringstream message;
                message << origin_ << ": airfoil " << *context_ << ": " << symbol_ << " of "
                        << library_->name() << " gives " << label << " = " << value << " at "
                        << degrees(angleRad) << " deg, Mach " << mach;
                throw NonFiniteError(message.str());
            }
        }
        return {cl, cd, cm};
    }
    return table_->at(mach, degrees(angleRad));
}

}  // namespace aeroquin::host
