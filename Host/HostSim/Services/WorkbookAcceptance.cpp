#include "Services/WorkbookAcceptance.hpp"

#include <cstdio>

namespace HostSim {

namespace {

using Json = nlohmann::ordered_json;

// A description of the first character in `text` that XML 1.0 cannot carry. The text is UTF-8 as
// the JSON reader checked it, so the only ones above U+001F are U+FFFE and U+FFFF.
std::string FirstCharacterXmlCannotCarry(const std::string& text) {
    for (std::size_t index = 0; index < text.size(); ++index) {
        const auto byte = static_cast<unsigned char>(text[index]);
        if (byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r') {
            char code[16];
            std::snprintf(code, sizeof(code), "U+%04X", static_cast<unsigned>(byte));
            return code;
        }
        if (byte == 0xEF && index + 2 < text.size() && static_cast<unsigned char>(text[index + 1]) == 0xBF &&
            (static_cast<unsigned char>(text[index + 2]) & 0xFE) == 0xBE) {
            return static_cast<unsigned char>(text[index + 2]) == 0xBE ? "U+FFFE" : "U+FFFF";
        }
    }
    return {};
}

std::string Find(const Json& value, const std::string& path) {
    if (value.is_string()) {
        const std::string character = FirstCharacterXmlCannotCarry(value.get_ref<const std::string&>());
        return character.empty() ? std::string()
                                 : "member " + path + " holds " + character + ", which XML 1.0 cannot carry";
    }
    if (value.is_object()) {
        for (const auto& [name, member] : value.items()) {
            if (std::string found = Find(member, path.empty() ? name : path + "." + name); !found.empty()) {
                return found;
            }
        }
    } else if (value.is_array()) {
        for (std::size_t index = 0; index < value.size(); ++index) {
            if (std::string found = Find(value[index], path + "[" + std::to_string(index) + "]");
                !found.empty()) {
                return found;
            }
        }
    }
    return {};
}

std::uint32_t Little32(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t index = 4; index-- > 0;) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + index]);
    }
    return value;
}

std::uint16_t Little16(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                      (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

} // namespace

std::string FindTextXmlCannotCarry(const nlohmann::ordered_json& model) {
    return Find(model, "");
}

std::string FindPartTooLargeForReader(std::string_view workbook, const WorkbookLimits& limits) {
    // The end of central directory record: 22 bytes, and the writer adds no archive comment.
    constexpr std::size_t EndRecordSize = 22;
    if (workbook.size() < EndRecordSize ||
        Little32(workbook, workbook.size() - EndRecordSize) != 0x06054b50u) {
        return {};
    }
    const std::size_t end = workbook.size() - EndRecordSize;
    const std::size_t entries = Little16(workbook, end + 10);
    std::size_t at = Little32(workbook, end + 16);
    for (std::size_t entry = 0; entry < entries; ++entry) {
        constexpr std::size_t HeaderSize = 46;
        if (at + HeaderSize > end || Little32(workbook, at) != 0x02014b50u) {
            return {};
        }
        const std::uint64_t size = Little32(workbook, at + 24);
        const std::size_t nameLength = Little16(workbook, at + 28);
        const std::size_t skipped = std::size_t{Little16(workbook, at + 30)} + Little16(workbook, at + 32);
        if (at + HeaderSize + nameLength > end) {
            return {};
        }
        if (size > limits.partBytes) {
            return std::string(workbook.substr(at + HeaderSize, nameLength)) + " would be " +
                   std::to_string(size) + " bytes, and VELD Engineer reads no part larger than " +
                   std::to_string(limits.partBytes) + " bytes";
        }
        at += HeaderSize + nameLength + skipped;
    }
    return {};
}

} // namespace HostSim
