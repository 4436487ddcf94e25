#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// How the SAF checker reads the text of one cell: numbers, lists, dates, GUIDs, colours, units.
namespace AnalysisApp {

std::string_view TrimmedItem(std::string_view item);

// A decimal number with a dot ("-1.5", "2e-05"); not "1,5", "nan" or "inf".
bool IsNumber(std::string_view text);
std::optional<long long> WholeNumber(std::string_view text);

// The items of a ';'-separated list, each without surrounding blanks ("N1; N2" -> N1, N2).
std::vector<std::string_view> ListItems(std::string_view list);

// "yyyy-mm-dd", optionally followed by " hh:mm" or " hh:mm:ss".
bool LooksLikeDate(std::string_view text);
// 8-4-4-4-12 hexadecimal digits, optionally in braces.
bool LooksLikeGuid(std::string_view text);
// "2.2.0": numbers separated by dots, nothing else.
bool IsVersionNumber(std::string_view text);
// "#AARRGGBB".
bool IsArgbColor(std::string_view text);

// A unit compared without regard to case or blanks, with superscript digits as plain ones.
std::string UnitKey(std::string_view unit);

// "Line;Circular Arc" -> 4: the nodes that curve segments take, neighbours sharing one; nothing
// when a segment kind is unknown.
std::optional<std::size_t> NodesOfSegments(std::string_view segments);

// "Concrete, Steel or Other"; a long list by its first values and its length.
std::string JoinChoices(const std::vector<std::string>& choices);

// The items of a list separated by `separator`, each handed to `use` without surrounding blanks.
template <typename Use>
void ForEachItemOf(std::string_view list, char separator, Use&& use) {
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t found = list.find(separator, start);
        const std::size_t end = found == std::string_view::npos ? list.size() : found;
        use(TrimmedItem(list.substr(start, end - start)));
        start = end + 1;
    }
}

// "(1.5;0;-2)": three numbers in parentheses, separated by ';'.
bool IsVector(std::string_view text);

} // namespace AnalysisApp
