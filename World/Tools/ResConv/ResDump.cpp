#include "ResDump.hpp"

#include "ResFormat/StringListFormat.hpp"

#include <algorithm>
#include <cstdio>
#include <span>
#include <string_view>

namespace ResConv {

namespace {

std::string QuoteText(std::string_view text) {
    std::string quoted = "\"";
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (byte >= 0x20 && byte < 0x7F) {
            quoted += c;
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            quoted += escaped;
        }
    }
    return quoted + "\"";
}

std::string HexLines(std::span<const std::uint8_t> bytes) {
    constexpr std::size_t BytesPerLine = 16;
    std::string lines;
    for (std::size_t start = 0; start < bytes.size(); start += BytesPerLine) {
        const auto row = bytes.subspan(start, std::min(BytesPerLine, bytes.size() - start));
        char offset[32];
        std::snprintf(offset, sizeof offset, "  %08zX ", start);
        std::string hex = offset;
        std::string ascii;
        for (std::uint8_t byte : row) {
            char digits[4];
            std::snprintf(digits, sizeof digits, " %02X", byte);
            hex += digits;
            ascii += (byte >= 0x20 && byte < 0x7F) ? static_cast<char>(byte) : '.';
        }
        hex.resize(11 + 3 * BytesPerLine, ' ');
        lines += hex + "  |" + ascii + "|\n";
    }
    return lines;
}

std::string DumpStringList(std::span<const std::uint8_t> bytes) {
    const ResFormat::StringList list = ResFormat::ParseStringList(bytes);
    if (list.problem) {
        return "  malformed string list: " + *list.problem + "\n" + HexLines(bytes);
    }
    std::string text = "  string list of " + std::to_string(list.texts.size()) + " texts\n";
    for (std::size_t i = 0; i < list.texts.size(); ++i) {
        text += "  " + std::to_string(i + 1) + ": " + QuoteText(list.texts[i]) + "\n";
    }
    return text;
}

} // namespace

std::string DumpResources(const std::vector<ResFormat::ResourceEntry>& entries) {
    std::string text = std::to_string(entries.size()) + " resources\n";
    for (const ResFormat::ResourceEntry& entry : entries) {
        text += "type " + entry.type.ToDisplayString() + ", name " + entry.name.ToDisplayString() +
                ", language " + std::to_string(entry.language) + ", " + std::to_string(entry.data.size()) +
                " bytes\n";
        text += entry.type.MatchesIgnoringCase(ResFormat::StringListTypeName) ? DumpStringList(entry.data)
                                                                              : HexLines(entry.data);
    }
    return text;
}

} // namespace ResConv
