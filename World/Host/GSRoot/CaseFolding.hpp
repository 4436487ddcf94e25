#pragma once

#include "GSTypes.hpp"

#include <cstddef>

// Case mappings of single UTF-16 code units, used wherever the host compares text without regard to
// case (UniString's CaseInsensitive, registry key and value names, window message names).
//
// Covered: ASCII; Latin-1 (including ÿ/Ÿ and µ); Latin Extended-A; the regular pairs of Latin
// Extended-B and Latin Extended Additional (including ẞ); Greek and Coptic (final sigma folds to
// sigma); Cyrillic and Cyrillic Supplement; Armenian; the fullwidth Latin letters; the Kelvin and
// Angstrom signs. Characters outside the Basic Multilingual Plane and the one-to-many foldings
// (ß to "ss") are left as they are. Dotted capital I (U+0130) and dotless small i (U+0131) do not
// fold, as in the Unicode simple folding without the Turkic rules.
namespace GS::CaseFolding {

// The simple case folding: the one form that all case variants of a character share.
char16_t Fold(char16_t unit);
// The upper-case form, as the Windows registry compares key names.
char16_t ToUpper(char16_t unit);

// Negative, 0 or positive by the code unit order of the mapped texts; a proper prefix sorts first.
Int32 CompareFolded(const char16_t* left, std::size_t leftCount, const char16_t* right,
                    std::size_t rightCount);
Int32 CompareUpper(const char16_t* left, std::size_t leftCount, const char16_t* right,
                   std::size_t rightCount);

} // namespace GS::CaseFolding
