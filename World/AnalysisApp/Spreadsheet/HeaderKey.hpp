#pragma once

#include <string>
#include <string_view>

// Headers and keys compared as SAF advises its readers: the bracketed unit left aside, spaces, dots,
// commas, dashes and similar characters removed, and letters compared without regard to case, so
// that "Coordinate X [m]", "coordinate x" and "Coordinate-X" are the same column.
namespace AnalysisApp {

// "Cross-section Type" -> "crosssectiontype"; "Coordinate X [m]" -> "coordinatex".
std::string HeaderKey(std::string_view header);

// The text inside the header's brackets, trimmed ("Coordinate X [ m ]" -> "m"); empty without one.
std::string HeaderUnit(std::string_view header);

// The text without surrounding blanks (space, tab, line breaks, no-break space).
std::string_view Trimmed(std::string_view text);

// ASCII letters folded to lower case, the rest as it is.
std::string Folded(std::string_view text);

// Whether the two are equal once ASCII letters are folded to lower case.
bool EqualsFolded(std::string_view left, std::string_view right);

} // namespace AnalysisApp
