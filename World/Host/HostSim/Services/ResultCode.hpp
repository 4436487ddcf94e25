#pragma once

#include "GSTypes.hpp"

#include <optional>
#include <string>
#include <string_view>

namespace HostSim {

// Result codes as people write them on a command line: decimal (with an optional sign) or "0x" hex.
// Hex gives the unsigned 32-bit pattern, so "0x81060387" is the same code as -2130312313.
std::optional<GSErrCode> ParseResultCode(std::string_view text);

// Decimal or 0x hex unsigned number of at most `maxValue`.
std::optional<UInt64> ParseUnsigned(std::string_view text, UInt64 maxValue);

// Decimal integer with an optional sign within [minValue, maxValue].
std::optional<Int64> ParseSigned(std::string_view text, Int64 minValue, Int64 maxValue);

} // namespace HostSim
