#include "Services/ResultCode.hpp"

#include <charconv>

namespace HostSim {

namespace {

bool HasHexPrefix(std::string_view text) {
    return text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
}

template <typename Number>
std::optional<Number> ParseWhole(std::string_view text, int base) {
    Number value{};
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, value, base);
    if (error != std::errc{} || stop != end || text.empty()) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<UInt64> ParseUnsigned(std::string_view text, UInt64 maxValue) {
    std::optional<UInt64> value =
        HasHexPrefix(text) ? ParseWhole<UInt64>(text.substr(2), 16) : ParseWhole<UInt64>(text, 10);
    if (!value || *value > maxValue) {
        return std::nullopt;
    }
    return value;
}

std::optional<Int64> ParseSigned(std::string_view text, Int64 minValue, Int64 maxValue) {
    if (!text.empty() && text[0] == '+') {
        text.remove_prefix(1);
    }
    std::optional<Int64> value = ParseWhole<Int64>(text, 10);
    if (!value || *value < minValue || *value > maxValue) {
        return std::nullopt;
    }
    return value;
}

std::optional<GSErrCode> ParseResultCode(std::string_view text) {
    if (HasHexPrefix(text)) {
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
