#pragma once

#include <string>
#include <string_view>

namespace SafWorkbook {

// Text made safe for XML content and attribute values: & < > " ' escaped, and the control
// characters XML 1.0 cannot carry at all (below 0x20 except tab, line feed, carriage return)
// dropped, since no escape makes them legal.
std::string EscapeXml(std::string_view text);
void AppendEscapedXml(std::string& out, std::string_view text);

} // namespace SafWorkbook
