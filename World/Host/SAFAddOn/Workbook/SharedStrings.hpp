#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace SafWorkbook {

// The workbook's shared-strings part, for the texts that repeat from row to row (types, enumeration
// values, cross-section and material names, layers): a cell then holds a small index instead of the
// text. The table stops growing at a fixed size, so its memory does not follow the model's; texts
// that do not fit are written inline instead.
class SharedStrings {
public:
    // The text's index, entering it when there is room; nothing when the table is full.
    std::optional<std::uint32_t> IndexOf(std::string_view text);

    // The part, with every entered text in the order of entry.
    std::string Xml() const;

    static constexpr std::size_t Capacity = 4096;

private:
    std::unordered_map<std::string, std::uint32_t> indices;
    std::vector<std::string> texts;
    std::size_t uses = 0;
};

} // namespace SafWorkbook
