#pragma once

#include <string>

namespace SafWorkbook {

// The shortest text that reads back as the same double, with a dot whatever the locale ("0.3",
// "210000", "1.2e-05"). Not-a-number and infinities, which a cell cannot hold, become "0".
std::string FormatNumber(double value);

} // namespace SafWorkbook
