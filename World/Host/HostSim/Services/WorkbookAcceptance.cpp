#include "Services/WorkbookAcceptance.hpp"

#include <cstdio>
#include <vector>

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

// One step from a value down to a member ("name") or an item ([2]).
struct Step {
    const std::string* key; // nullptr for an item
    std::size_t index;
};

// The first text below `value` that XML 1.0 cannot carry: its character, and in `steps` the way down
// to it, last step first. The way is spelt out only for what is found: a big model has millions of
// texts, and naming each on the way cost more than looking at it.
std::string FirstBelow(const Json& value, std::vector<Step>& steps) {
    if (value.is_string()) {
        return FirstCharacterXmlCannotCarry(value.get_ref<const std::string&>());
    }
    if (value.is_object()) {
        for (auto member = value.begin(); member != value.end(); ++member) {
            if (std::string found = FirstBelow(member.value(), steps); !found.empty()) {
                steps.push_back({&member.key(), 0});
                return found;
            }
        }
    } else if (value.is_array()) {
        for (std::size_t index = 0; index < value.size(); ++index) {
            if (std::string found = FirstBelow(value[index], steps); !found.empty()) {
                steps.push_back({nullptr, index});
                return found;
            }
        }
    }
    return {};
}

std::string Find(const Json& value, const std::string& start) {
    std::vector<Step> steps;
    const std::string character = FirstBelow(value, steps);
    if (character.empty()) {
        return {};
    }
    std::string path = start;
    for (auto step = steps.rbegin(); step != steps.rend(); ++step) {
        if (step->key == nullptr) {
            path += "[" + std::to_string(step->index) + "]";
        } else {
            path = path.empty() ? *step->key : path + "." + *step->key;
        }
    }
    return "member " + path + " holds " + character + ", which XML 1.0 cannot carry";
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
