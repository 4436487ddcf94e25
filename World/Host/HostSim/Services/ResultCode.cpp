#include "Services/ResultCode.hpp"

#include "ProgramCommandLine.hpp"

namespace HostSim {

std::optional<UInt64> ParseUnsigned(std::string_view text, UInt64 maxValue) {
    return CommandLine::ParseUnsigned(text, maxValue);
}

std::optional<Int64> ParseSigned(std::string_view text, Int64 minValue, Int64 maxValue) {
    return CommandLine::ParseSigned(text, minValue, maxValue);
}

std::optional<GSErrCode> ParseResultCode(std::string_view text) {
    if (text.starts_with("0x") || text.starts_with("0X")) {
        std::optional<UInt64> pattern = ParseUnsigned(text, 0xFFFFFFFFu);
        if (!pattern) {
            return std::nullopt;
        }
        return static_cast<GSErrCode>(static_cast<UInt32>(*pattern));
    }
    std::optional<Int64> value = ParseSigned(text, INT32_MIN, INT32_MAX);
    if (!value) {
        return std::nullopt;
    }
    return static_cast<GSErrCode>(*value);
}

} // namespace HostSim
