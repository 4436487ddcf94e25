#pragma once

#include <string>
#include <variant>
#include <vector>

namespace SafWorkbook {

// An empty cell, a text cell or a numeric cell.
using Cell = std::variant<std::monostate, std::string, double>;
using Row = std::vector<Cell>;

// One worksheet as rows of cells; for object sheets rows[0] is the header row.
struct Sheet {
    std::string name;
    std::vector<Row> rows;
    bool hasHeader = true;

    std::size_t ObjectCount() const { return hasHeader && !rows.empty() ? rows.size() - 1 : rows.size(); }
};

} // namespace SafWorkbook
