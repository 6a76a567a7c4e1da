// Prints the module's contract with its readers, one "kind<TAB>text" line each, so that
// aeroquin-report's test (tests/tools/test_contract.py) can hold its parser against it.
#include <cstdio>
#include <string_view>

#include "module/contract/ReportFormat.h"
#include "module/contract/StatusTexts.h"

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
    print("completed", kCompletedStatus);
    return 0;
}
