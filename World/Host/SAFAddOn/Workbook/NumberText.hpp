#pragma once

#include <string>

namespace SafWorkbook {

// The shortest text that reads back as exactly this double, with a dot whatever the locale; "0" for
// zero (never "-0") and for what is not finite, which a cell cannot hold.
std::string FormatNumber(double value);
void AppendNumber(std::string& out, double value);

} // namespace SafWorkbook
