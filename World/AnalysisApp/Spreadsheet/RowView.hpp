#pragma once

#include "SafRules/SafRules.hpp"
#include "Spreadsheet/HeaderKey.hpp"
#include "Spreadsheet/SpreadsheetPackage.hpp"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// One row of an object sheet as the SAF checker sees it: its cells by column, trimmed, and by header
// key for the conditions of the rules.
namespace AnalysisApp {

// Columns by header key, found with a string_view as well as with a string.
struct KeyHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view key) const { return std::hash<std::string_view>{}(key); }
};
using ColumnsByKey = std::unordered_map<std::string, std::size_t, KeyHash, std::equal_to<>>;

// A row's cells by column, for lookups without a search; it refers to the row's own text, so it
// holds while the row does.
class RowView final : public RowValues {
public:
    explicit RowView(const ColumnsByKey& columns) : columnOf(columns) {}

    void Load(const SheetRow& row) {
        for (const std::size_t column : used) {
            values[column] = {};
            isText[column] = 0;
        }
        used.clear();
        for (const SheetCell& cell : row.cells) {
            if (cell.column >= values.size()) {
                values.resize(cell.column + 1);
                isText.resize(cell.column + 1);
            }
            values[cell.column] = Trimmed(cell.Value());
            isText[cell.column] = cell.text ? 1 : 0;
            used.push_back(cell.column);
        }
    }
    std::string_view At(std::size_t column) const {
        return column < values.size() ? values[column] : std::string_view();
    }
    bool TextAt(std::size_t column) const { return column < isText.size() && isText[column] != 0; }
    std::string_view Value(std::string_view headerKey) const override {
        const auto found = columnOf.find(headerKey);
        return found == columnOf.end() ? std::string_view() : At(found->second);
    }
    std::size_t ColumnOf(std::string_view headerKey) const {
        const auto found = columnOf.find(headerKey);
        return found == columnOf.end() ? 0 : found->second;
    }

private:
    const ColumnsByKey& columnOf;
    std::vector<std::string_view> values;
    std::vector<std::uint8_t> isText; // bytes: read for every cell, where a bit vector costs shifts
    std::vector<std::size_t> used;
};

} // namespace AnalysisApp
