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

} // namespace

std::string FindTextXmlCannotCarry(const nlohmann::ordered_json& model) {
    return Find(model, "");
}

std::string FindTextXmlCannotCarry(const nlohmann::ordered_json& value, const std::string& path) {
    return Find(value, path);
}

std::string FindPartTooLargeForReader(const std::vector<SafWorkbook::ZipEntrySize>& parts,
                                      const WorkbookLimits& limits) {
    for (const SafWorkbook::ZipEntrySize& part : parts) {
        if (part.size > limits.partBytes) {
            return part.name + " would be " + std::to_string(part.size) +
                   " bytes, and VELD Engineer reads no part larger than " + std::to_string(limits.partBytes) +
                   " bytes";
        }
    }
    return {};
}

} // namespace HostSim
