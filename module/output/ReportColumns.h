// The columns of one capture's report.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string>

#include "module/config/Configuration.h"
#include "module/contract/ReportFormat.h"

namespace aeroquin {

// Decided once from the configuration; the column line and every row take their columns from
// this one value, so that a row always has as many numbers as the column line has names.
class ReportColumns {
  public:
    // The columns of every report.
    ReportColumns();
    explicit ReportColumns(const Configuration& configuration);

    [[nodiscard]] std::span<const contract::Column> list() const {
        return {columns_.data(), count_};
    }
    // The names, separated as the rows' numbers are.
    [[nodiscard]] std::string line() const;

  private:
    void add(contract::Column column) { columns_[count_++] = column; }

    std::array<contract::Column, contract::kColumns.size()> columns_{};
    std::size_t count_ = 0;
};

}  // namespace aeroquin
