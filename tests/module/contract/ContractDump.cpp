// Prints the module's contract with its readers, one "kind<TAB>text" line each, so that
// aeroquin-report's test (tests/tools/test_contract.py) can hold its parser against it.
#include <cstdio>
#include <string_view>

#include "module/config/Configuration.h"
#include "module/contract/ReportFormat.h"
#include "module/contract/StatusTexts.h"
#include "module/output/ReportColumns.h"

namespace {

void print(const char* kind, std::string_view text) {
    std::printf("%s\t%.*s\n", kind, static_cast<int>(text.size()), text.data());
}

}  // namespace

int main() {
    using namespace aeroquin::contract;
    print("version", kVersion);
    for (const std::string_view label :
         {kVersionLabel, kClassLabel, kStartTimeLabel, kAoaCountLabel, kMachCountLabel}) {
        print("header", label);
    }
    print("separator", kSeparator);
    for (const std::string_view column : kColumns) {
        print("column", column);
    }
    print("without-moment", kColumns[kAlwaysReported - 1]);
    for (const std::string_view label : kHeaderItems) {
        print("item", label);
    }
    // Every column line a configuration can give: moments x sideslip x control x rate axis (a
    // rate axis needs the moments).
    for (int mix = 0; mix < 16; ++mix) {
        if ((mix & 8) != 0 && (mix & 1) == 0) {
            continue;
        }
        aeroquin::Configuration configuration;
        configuration.reportMoments = (mix & 1) != 0;
        if ((mix & 2) != 0) {
            configuration.sideslipIntervals = {-5.0, 5.0};
            configuration.sideslipIncrements = {2};
        }
        if ((mix & 4) != 0) {
            configuration.controlSurface = AIRCTRL_ELEVATOR;
        }
        if ((mix & 8) != 0) {
            configuration.rateIntervals = {-10.0, 10.0};
            configuration.rateIncrements = {2};
        }
        print("column-line", aeroquin::ReportColumns(configuration).line());
    }
    print("completed", kCompletedStatus);
    return 0;
}
