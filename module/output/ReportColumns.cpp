#include "module/output/ReportColumns.h"

namespace aeroquin {

ReportColumns::ReportColumns() {
    for (std::size_t i = 0; i < contract::kAlwaysReported; ++i) {
        add(static_cast<contract::Column>(i));
    }
}

ReportColumns::ReportColumns(const Configuration& configuration) : ReportColumns() {
    if (configuration.reportMoments) {
        add(contract::Column::cmSc);
    }
    if (configuration.hasSideslipAxis()) {
        add(contract::Column::sideslip);
    }
    if (configuration.hasLateralColumns()) {
        add(contract::Column::cyS);
        if (configuration.reportMoments) {
            add(contract::Column::clSb);
            add(contract::Column::cnSb);
        }
    }
    if (configuration.hasControlAxis()) {
        add(contract::Column::controlLevel);
        add(contract::Column::clTotalS);
        add(contract::Column::cdTotalS);
    }
    if (configuration.hasRateAxis()) {
        add(contract::Column::pitchRate);
        add(contract::Column::rollRate);
        add(contract::Column::yawRate);
    }
}

std::string ReportColumns::line() const {
    std::string text;
    for (const contract::Column column : list()) {
        text.append(text.empty() ? "" : contract::kSeparator).append(contract::columnName(column));
    }
    return text;
}

}  // namespace aeroquin
