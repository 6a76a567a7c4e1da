#include "host/world/AeroTable.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <iterator>
#include <limits>
#include <map>
#include <optional>
#include <sstream>
#include <utility>

#include "host/support/HostFileError.h"
#include "host/support/ItemFile.h"
#include "host/support/ParseNumber.h"
#include "host/support/Text.h"

namespace aeroquin::host {

namespace {

std::vector<std::string_view> splitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    while (true) {
        const std::size_t comma = line.find(',');
        fields.push_back(trim(line.substr(0, comma)));
        if (comma == std::string_view::npos) {
            return fields;
        }
        line.remove_prefix(comma + 1);
    }
}

// The two headers: without and with the moment coefficient.
constexpr std::array<std::string_view, 4> liftDragColumns = {"mach", "aoa", "cl", "cd"};
constexpr std::array<std::string_view, 5> withMomentColumns = {"mach", "aoa", "cl", "cm", "cd"};

constexpr std::string_view headerText = "mach,aoa,cl,cd or mach,aoa,cl,cm,cd";

template <std::size_t N>
bool isHeader(const std::vector<std::string_view>& fields,
              const std::array<std::string_view, N>& names) {
    return fields.size() == N && std::equal(fields.begin(), fields.end(), names.begin(),
                                            [](std::string_view f, std::string_view n) {
                                                return equalsIgnoringCase(f, n);
                                            });
}

struct Row {
    std::array<double, 5> values;  // mach, aoa, cl, cd, cm
    std::string machText;
    std::string aoaText;
    int line;
};

// Index of the grid cell's lower corner and the fraction towards the upper one, the value held
// at the edges.
std::pair<std::size_t, double> locate(const std::vector<double>& axis, double value) {
    if (value <= axis.front()) {
        return {0, 0.0};
    }
    if (value >= axis.back()) {
        return {axis.size() - 2, 1.0};
    }
    const auto upper = std::upper_bound(axis.begin(), axis.end(), value);
    const auto i = static_cast<std::size_t>(std::distance(axis.begin(), upper)) - 1;
    return {i, (value - axis[i]) / (axis[i + 1] - axis[i])};
}

// The rows of a table's text, the values of each in the order mach, aoa, cl, cd, cm.
struct ParsedRows {
    std::vector<Row> rows;
    int headerLine = 0;
};

ParsedRows parseRows(std::string_view text, const std::string& name) {
    // A spreadsheet's "CSV UTF-8" starts with one.
    text = withoutByteOrderMark(text);
    ParsedRows parsed;
    std::vector<Row>& rows = parsed.rows;
    int& headerLine = parsed.headerLine;
    std::vector<std::string_view> columns;  // as the header names them
    std::string columnText;                 // "mach,aoa,cl,cd" or with cm
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const std::size_t end = text.find('\n');
        const std::string_view line = trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (line.empty() || line.front() == '#') {
            continue;
        }
        const auto fields = splitFields(line);
        if (headerLine == 0) {
            if (isHeader(fields, liftDragColumns)) {
                columns.assign(liftDragColumns.begin(), liftDragColumns.end());
            } else if (isHeader(fields, withMomentColumns)) {
                columns.assign(withMomentColumns.begin(), withMomentColumns.end());
            } else {
                throw HostFileError(name, lineNumber,
                                    "header line " + std::string(headerText) + " expected");
            }
            for (const auto column : columns) {
                columnText += (columnText.empty() ? "" : ",") + std::string(column);
            }
            headerLine = lineNumber;
            continue;
        }
        if (fields.size() != columns.size()) {
            throw HostFileError(
                name, lineNumber,
                std::to_string(columns.size()) + " values " + columnText + " expected");
        }
        Row row{{}, std::string(fields[0]), std::string(fields[1]), lineNumber};
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const auto value = parseNumber(fields[i]);
            if (!value) {
                throw HostFileError(name, lineNumber,
                                    std::string(columns[i]) + " must be a number");
            }
            if (!std::isfinite(*value)) {
                throw HostFileError(name, lineNumber, std::string(columns[i]) + " must be finite");
            }
            // Stored as mach, aoa, cl, cd, cm whatever the file's order.
            const std::size_t slot = columns[i] == "cm" ? 4 : (columns[i] == "cd" ? 3 : i);
            row.values[slot] = *value;
        }
        rows.push_back(std::move(row));
    }
    if (headerLine == 0) {
        throw HostFileError(name, 0, "header line " + std::string(headerText) + " missing");
    }
    return parsed;
}

}  // namespace

AeroTable::AeroTable(std::vector<double> machs, std::vector<double> aoas,
                     std::vector<AeroCoefficients> values)
    : machs_(std::move(machs)), aoas_(std::move(aoas)), values_(std::move(values)) {}

AeroTable AeroTable::fromText(std::string_view text, const std::string& name) {
    const ParsedRows parsed = parseRows(text, name);
    const std::vector<Row>& rows = parsed.rows;
    const int headerLine = parsed.headerLine;

    // Each point once; remember where each Mach value first appears.
    std::map<std::pair<double, double>, const Row*> points;
    std::map<double, const Row*> machRows;
    std::map<double, const Row*> aoaRows;
    for (const Row& row : rows) {
        const auto [it, inserted] = points.emplace(std::pair{row.values[0], row.values[1]}, &row);
        if (!inserted) {
            throw HostFileError(name, row.line,
                                "duplicate point Mach " + row.machText + ", AOA " + row.aoaText +
                                    " (first on line " + std::to_string(it->second->line) + ")");
        }
        machRows.emplace(row.values[0], &row);
        aoaRows.emplace(row.values[1], &row);
    }
    if (machRows.size() < 2 || aoaRows.size() < 2) {
        throw HostFileError(name, headerLine,
                            "the grid needs at least two Mach values and two AOA values");
    }

    std::vector<double> machs;
    std::vector<double> aoas;
    machs.reserve(machRows.size());
    aoas.reserve(aoaRows.size());
    for (const auto& entry : machRows) {
        machs.push_back(entry.first);
    }
    for (const auto& entry : aoaRows) {
        aoas.push_back(entry.first);
    }
    // A complete grid holds exactly one point per row; a table with a hole may name far more
    // Mach and AOA values than it has rows, so their product is no size to reserve.
    std::vector<AeroCoefficients> values;
    values.reserve(rows.size());
    for (const auto& [mach, machRow] : machRows) {
        for (const auto& [aoa, aoaRow] : aoaRows) {
            const auto it = points.find({mach, aoa});
            if (it == points.end()) {
                throw HostFileError(name, machRow->line,
                                    "no point for Mach " + machRow->machText + ", AOA " +
                                        aoaRow->aoaText + ": the grid has a hole");
            }
            const auto& v = it->second->values;
            values.push_back({v[2], v[3], v[4]});
        }
    }
    return {std::move(machs), std::move(aoas), std::move(values)};
}

AeroTable AeroTable::load(const std::filesystem::path& path, const std::string& name) {
    return fromText(readFileText(path, name), name);
}

AeroCoefficients AeroTable::at(double mach, double aoaDeg) const {
    if (std::isnan(mach) || std::isnan(aoaDeg)) {
        constexpr double nan = std::numeric_limits<double>::quiet_NaN();
        return {nan, nan, nan};
    }
    const auto [i, fm] = locate(machs_, mach);
    const auto [j, fa] = locate(aoas_, aoaDeg);
    const std::size_t n = aoas_.size();
    const AeroCoefficients& c00 = values_[i * n + j];
    const AeroCoefficients& c01 = values_[i * n + j + 1];
    const AeroCoefficients& c10 = values_[(i + 1) * n + j];
    const AeroCoefficients& c11 = values_[(i + 1) * n + j + 1];
    // Clang before 16 cannot capture structured bindings.
    const auto blend = [fa = fa, fm = fm](double v00, double v01, double v10, double v11) {
        const double low = v00 + fa * (v01 - v00);
        const double high = v10 + fa * (v11 - v10);
        return low + fm * (high - low);
    };
    return {blend(c00.cl, c01.cl, c10.cl, c11.cl), blend(c00.cd, c01.cd, c10.cd, c11.cd),
            blend(c00.cm, c01.cm, c10.cm, c11.cm)};
}

}  // namespace aeroquin::host
