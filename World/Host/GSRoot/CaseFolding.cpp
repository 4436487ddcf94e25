#include "CaseFolding.hpp"

namespace GS::CaseFolding {

namespace {

// A run of upper-case letters whose lower-case forms lie `delta` away. With `step` 2 only every
// other unit from `first` is upper case (the alternating upper/lower pairs of the Latin, Greek and
// Cyrillic extension blocks).
struct CaseRange {
    char16_t first;
    char16_t last;
    Int32 delta;
    UInt16 step;
};

constexpr CaseRange CaseRanges[] = {
    {0x0041, 0x005A, 32, 1}, {0x00C0, 0x00D6, 32, 1}, {0x00D8, 0x00DE, 32, 1}, {0x0100, 0x012F, 1, 2},
    {0x0132, 0x0137, 1, 2},  {0x0139, 0x0148, 1, 2},  {0x014A, 0x0177, 1, 2},  {0x0178, 0x0178, -121, 1},
    {0x0179, 0x017E, 1, 2},  {0x01CD, 0x01DC, 1, 2},  {0x01DE, 0x01EF, 1, 2},  {0x01F8, 0x021F, 1, 2},
    {0x0222, 0x0233, 1, 2},  {0x0246, 0x024F, 1, 2},  {0x0386, 0x0386, 38, 1}, {0x0388, 0x038A, 37, 1},
    {0x038C, 0x038C, 64, 1}, {0x038E, 0x038F, 63, 1}, {0x0391, 0x03A1, 32, 1}, {0x03A3, 0x03AB, 32, 1},
    {0x03D8, 0x03EF, 1, 2},  {0x0400, 0x040F, 80, 1}, {0x0410, 0x042F, 32, 1}, {0x0460, 0x0481, 1, 2},
    {0x048A, 0x04BF, 1, 2},  {0x04C0, 0x04C0, 15, 1}, {0x04C1, 0x04CE, 1, 2},  {0x04D0, 0x052F, 1, 2},
    {0x0531, 0x0556, 48, 1}, {0x1E00, 0x1E95, 1, 2},  {0x1EA0, 0x1EFF, 1, 2},  {0xFF21, 0xFF3A, 32, 1},
};

// Units whose folding is not their plain lower-case partner: signs and letter forms that fold into
// an ordinary letter, and lower-case forms that fold to another lower-case form.
struct SingleMapping {
    char16_t from;
    char16_t to;
};

constexpr SingleMapping ExtraFoldings[] = {
    {0x00B5, 0x03BC}, // micro sign -> small mu
    {0x017F, 0x0073}, // long s -> s
    {0x03C2, 0x03C3}, // final sigma -> sigma
    {0x1E9E, 0x00DF}, // capital sharp s -> sharp s
    {0x212A, 0x006B}, // Kelvin sign -> k
    {0x212B, 0x00E5}, // Angstrom sign -> a with ring
};

// Lower-case forms without a partner in CaseRanges that still have an upper-case form.
constexpr SingleMapping ExtraUpperCases[] = {
    {0x00B5, 0x039C}, // micro sign -> capital mu
    {0x017F, 0x0053}, // long s -> S
    {0x03C2, 0x03A3}, // final sigma -> capital sigma
    {0x0131, 0x0049}, // dotless i -> I
};

bool InRange(const CaseRange& range, char32_t first, char32_t unit) {
    const char32_t last = first + (range.last - range.first);
    return unit >= first && unit <= last && (range.step == 1 || (unit - first) % range.step == 0);
}

char16_t Shift(char16_t unit, Int32 delta) {
    return static_cast<char16_t>(static_cast<Int32>(unit) + delta);
}

} // namespace

char16_t Fold(char16_t unit) {
    if (unit < 0x80) {
        return unit >= u'A' && unit <= u'Z' ? static_cast<char16_t>(unit + 32) : unit;
    }
    for (const SingleMapping& extra : ExtraFoldings) {
        if (extra.from == unit) {
            return extra.to;
        }
    }
    for (const CaseRange& range : CaseRanges) {
        if (InRange(range, range.first, unit)) {
            return Shift(unit, range.delta);
        }
    }
    return unit;
}

char16_t ToUpper(char16_t unit) {
    if (unit < 0x80) {
        return unit >= u'a' && unit <= u'z' ? static_cast<char16_t>(unit - 32) : unit;
    }
    for (const SingleMapping& extra : ExtraUpperCases) {
        if (extra.from == unit) {
            return extra.to;
        }
    }
    for (const CaseRange& range : CaseRanges) {
        const char32_t lowerFirst = static_cast<char32_t>(static_cast<Int32>(range.first) + range.delta);
        if (InRange(range, lowerFirst, unit)) {
            return Shift(unit, -range.delta);
        }
    }
    return unit;
}

namespace {
template <typename Mapping>
Int32 CompareMapped(const char16_t* left, std::size_t leftCount, const char16_t* right,
                    std::size_t rightCount, Mapping map) {
    const std::size_t common = leftCount < rightCount ? leftCount : rightCount;
    for (std::size_t i = 0; i < common; ++i) {
        const char16_t a = map(left[i]);
        const char16_t b = map(right[i]);
        if (a != b) {
            return a < b ? -1 : 1;
        }
    }
    if (leftCount == rightCount) {
        return 0;
    }
    return leftCount < rightCount ? -1 : 1;
}
} // namespace

Int32 CompareFolded(const char16_t* left, std::size_t leftCount, const char16_t* right,
                    std::size_t rightCount) {
    return CompareMapped(left, leftCount, right, rightCount, Fold);
}

Int32 CompareUpper(const char16_t* left, std::size_t leftCount, const char16_t* right,
                   std::size_t rightCount) {
    return CompareMapped(left, leftCount, right, rightCount, ToUpper);
}

} // namespace GS::CaseFolding
