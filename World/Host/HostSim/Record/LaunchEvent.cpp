#include "Record/LaunchEvent.hpp"

#include "Record/ReadableText.hpp"
#include "Services/ResultCode.hpp"

#include <string_view>

namespace HostSim {

namespace {

// Reads the call monitor's "name=value" texts back, undoing GS::CallDetails::Quote exactly.
class DetailsReader {
public:
    explicit DetailsReader(std::string_view text) : rest(text) {}

    bool Take(std::string_view expected) {
        if (!rest.starts_with(expected)) {
            return false;
        }
        rest.remove_prefix(expected.size());
        return true;
    }

    std::optional<std::string> Quoted() {
        if (!Take("\"")) {
            return std::nullopt;
        }
        std::string text;
        while (!rest.empty()) {
            const char c = rest.front();
            rest.remove_prefix(1);
            if (c == '"') {
                return text;
            }
            if (c != '\\') {
                text += c;
            } else if (std::optional<char> escaped = Escape()) {
                text += *escaped;
            } else {
                return std::nullopt;
            }
        }
        return std::nullopt;
    }

    std::optional<std::string> Word() {
        const std::size_t end = rest.find(' ');
        std::string word(rest.substr(0, end));
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end);
        return word.empty() ? std::nullopt : std::optional<std::string>(word);
    }

    bool AtEnd() const { return rest.empty(); }

private:
    std::optional<char> Escape() {
        if (rest.empty()) {
            return std::nullopt;
        }
        const char c = rest.front();
        rest.remove_prefix(1);
        switch (c) {
        case '\\':
        case '"':
            return c;
        case 'n':
            return '\n';
        case 'r':
            return '\r';
        case 't':
            return '\t';
        case 'x': {
            std::optional<UInt64> value =
                rest.size() >= 2 ? ParseUnsigned("0x" + std::string(rest.substr(0, 2)), 0xFF) : std::nullopt;
            if (!value) {
                return std::nullopt;
            }
            rest.remove_prefix(2);
            return static_cast<char>(*value);
        }
        default:
            return std::nullopt;
        }
    }

    std::string_view rest;
};

void AddResult(Json& fields, const std::optional<std::string>& result) {
    if (!result) {
        fields["result"] = "unknown";
    } else if (result->starts_with("exception=")) {
        fields["result"] = "threw";
        fields["exception"] = result->substr(10);
    } else if (std::optional<GSErrCode> code =
                   result->starts_with("code=") ? ParseResultCode(result->substr(5)) : std::nullopt) {
        fields["result"] = *code == NoError ? "started" : "failed";
        fields["code"] = *code;
        fields["codeHex"] = FormatResultCodeHex(*code);
    } else {
        fields["result"] = "unknown";
    }
}

} // namespace

std::optional<Json> LaunchEventFields(const std::string& details, const std::optional<std::string>& result) {
    DetailsReader reader(details);
    Json fields;
    std::optional<std::string> executable = reader.Take("executable=") ? reader.Quoted() : std::nullopt;
    if (!executable || !reader.Take(" arguments=[")) {
        return std::nullopt;
    }
    fields["executable"] = *executable;
    Json arguments = Json::array();
    while (!reader.Take("]")) {
        if (!arguments.empty() && !reader.Take(",")) {
            return std::nullopt;
        }
        std::optional<std::string> argument = reader.Quoted();
        if (!argument) {
            return std::nullopt;
        }
        arguments.push_back(*argument);
    }
    fields["arguments"] = std::move(arguments);
    std::optional<std::string> mode = reader.Take(" mode=") ? reader.Word() : std::nullopt;
    std::optional<std::string> option = reader.Take(" option=") ? reader.Word() : std::nullopt;
    std::optional<Int64> modeValue = mode ? ParseSigned(*mode, INT32_MIN, INT32_MAX) : std::nullopt;
    std::optional<Int64> optionValue = option ? ParseSigned(*option, INT32_MIN, INT32_MAX) : std::nullopt;
    if (!modeValue || !optionValue || !reader.AtEnd()) {
        return std::nullopt;
    }
    fields["mode"] = *modeValue;
    fields["option"] = *optionValue;
    AddResult(fields, result);
    return fields;
}

} // namespace HostSim
