#pragma once

#include <string>

// The workbook's styles part: how each kind of cell shows in a spreadsheet. The values themselves are
// never rounded; a format only decides how many digits a person sees.
namespace SafWorkbook {

// The position of each style in the part's cell formats, which is what a cell's s attribute names.
enum class CellStyle {
    General = 0,
    Header,      // bold
    Length,      // 0.000: coordinates, lengths and levels (m, ft)
    SmallLength, // 0.0: thicknesses, eccentricities, section parameters (mm, in)
    Modulus,     // #,##0: moduli and unit masses
    Scientific,  // 0.00E+00: section constants, thermal expansion, stiffnesses
    Ratio,       // 0.00: Poisson's coefficient, angles, areas
    Date,        // yyyy-mm-dd
    DateTime,    // yyyy-mm-dd hh:mm
    Text,        // @: texts that look like numbers, such as the version
    Integer,     // 0: codes
};

std::string StylesXml();

} // namespace SafWorkbook
