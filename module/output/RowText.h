// Capture rows as text: the report's columns of a sample ("mach; aoa; q; v; clS; cdS; clS/cdS"
// and the optional ones), each number in general notation with 6 significant digits, exactly as a
// fresh output stream in the classic locale writes it. This is both the status text and the
// report row.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "module/output/ReportColumns.h"
#include "module/vessel/CaptureSample.h"

namespace aeroquin {

// A sweep holds Mach, airspeed and q over each run of angles, so the last value of each column
// and its text are kept: a value that repeats bit for bit is copied, not made again.
class RowText {
  public:
    // Replaces `text`, whose capacity a caller of every frame keeps.
    void write(const CaptureSample& sample, const ReportColumns& columns, std::string& text);

  private:
    struct Column {
        std::uint64_t bits = 0;
        std::size_t length = 0;  // 0: no text yet
        std::array<char, 32> digits{};
    };
    std::array<Column, contract::kColumns.size()> columns_{};
};

// One row's text on its own, from a fresh RowText.
[[nodiscard]] std::string rowText(const CaptureSample& sample,
                                  const ReportColumns& columns = ReportColumns());

}  // namespace aeroquin
