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
}

std::string ReportColumns::line() const {
    std::string text;
    for (const contract::Column column : list()) {
        text.append(text.empty() ? "" : contract::kSeparator).append(contract::columnName(column));
    }
    return text;
}

}  // namespace aeroquin
