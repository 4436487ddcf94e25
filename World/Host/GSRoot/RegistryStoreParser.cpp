#include "RegistryStore.hpp"

#include "ByteOrder/LittleEndian.hpp"

#include "HexDigits.hpp"
#include "TextEncoding.hpp"

#include <algorithm>
#include <iterator>
#include <map>
#include <memory>
#include <optional>

namespace GS::RegistryStore {

namespace {

constexpr std::string_view HeaderLine = "Windows Registry Editor Version 5.00";
constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

struct Line {
    std::string_view text;
    std::size_t number;
};

struct KeyNameLess {
    bool operator()(const std::u16string& left, const std::u16string& right) const {
        return CompareKeyNames(left, right) < 0;
    }
};

// The hive as it is read: a file may list sibling keys in any order, and inserting each into its
// sorted place in a vector costs a move of every later sibling (20 000 unsorted siblings took
// seconds). Each key's subkeys are kept in a sorted map while reading instead, and turned into the
// sorted vectors of Key once, at the end.
struct PendingKey {
    Key key; // its name and values; its subkeys are in `subKeys` below
    std::map<std::u16string, std::unique_ptr<PendingKey>, KeyNameLess> subKeys;

    PendingKey& Sub(std::u16string_view name) {
        std::u16string wanted(name);
        // Files are mostly written sorted: a name after the last one needs one comparison.
        auto place = subKeys.end();
        if (!subKeys.empty() && !KeyNameLess()(std::prev(place)->first, wanted)) {
            place = subKeys.lower_bound(wanted);
            if (place != subKeys.end() && !KeyNameLess()(wanted, place->first)) {
                return *place->second;
            }
        }
        auto fresh = std::make_unique<PendingKey>();
        fresh->key.name = wanted;
        return *subKeys.emplace_hint(place, std::move(wanted), std::move(fresh))->second;
    }
};

// Moves the pending tree into `into`, depth first; an explicit stack, as a path may be deep.
void Settle(PendingKey& pending, Key& into) {
    struct Step {
        PendingKey* from;
        Key* to;
    };
    std::vector<Step> steps{{&pending, &into}};
    while (!steps.empty()) {
        const Step step = steps.back();
        steps.pop_back();
        step.to->name = std::move(step.from->key.name);
        step.to->values = std::move(step.from->key.values);
        step.to->valuePlaces = std::move(step.from->key.valuePlaces);
        step.to->subKeys.resize(step.from->subKeys.size());
        std::size_t index = 0;
        for (auto& [name, sub] : step.from->subKeys) {
            steps.push_back({sub.get(), &step.to->subKeys[index++]});
        }
    }
}

// Lines without their end (LF or CR LF); the last line may lack an end.
std::vector<Line> SplitLines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t start = 0;
    std::size_t number = 1;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back({line, number++});
        start = end + 1;
    }
    return lines;
}

std::string_view TrimLeft(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    return text;
}

std::string_view TrimRight(std::string_view text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

std::string_view Trim(std::string_view text) {
    return TrimRight(TrimLeft(text));
}

// The decoder replaces bad bytes with U+FFFD; a store must refuse them instead, or rewriting the
// file would silently change what the user had. Most lines are plain ASCII, valid as they are.
bool IsValidUtf8(std::string_view text) {
    if (std::all_of(text.begin(), text.end(),
                    [](char byte) { return static_cast<unsigned char>(byte) < 0x80; })) {
        return true;
    }
    const std::u16string decoded = TextEncoding::Decode(text.data(), text.size(), CC_UTF8);
    const std::string reencoded = TextEncoding::EncodeUtf8Lossy(decoded.data(), decoded.size());
    return reencoded == text;
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char a = text[i];
        char b = prefix[i];
        if (a >= 'A' && a <= 'Z') {
            a = static_cast<char>(a - 'A' + 'a');
        }
        if (b >= 'A' && b <= 'Z') {
            b = static_cast<char>(b - 'A' + 'a');
        }
        if (a != b) {
            return false;
        }
    }
    return true;
}

class Parser {
public:
    Parser(std::string_view hiveToRead, std::string_view file) : hiveName(hiveToRead), fileName(file) {}

    ParseResult Run(std::string_view text);

private:
    bool Fail(std::size_t lineNumber, std::string_view message);
    bool ParseAll(std::string_view text);
    // Every line valid UTF-8 without NULs, and the header first.
    bool CheckText(const std::vector<Line>& lines);
    bool ParseSection(const Line& line);
    bool ParseValue(const std::vector<Line>& lines, std::size_t& index);
    // Reads a quoted text at `text` (which starts after the opening quote); advances past the
    // closing quote.
    std::optional<std::string> ReadQuoted(std::string_view& text);
    bool ParseData(std::string_view data, const std::vector<Line>& lines, std::size_t& index, Value& value);
    bool ParseHexList(std::string_view data, const std::vector<Line>& lines, std::size_t& index,
                      std::vector<UInt8>& bytes);

    std::string_view hiveName;
    std::string_view fileName;
    PendingKey root;
    Key* currentKey = nullptr;
    std::string error;
};

bool Parser::Fail(std::size_t lineNumber, std::string_view message) {
    error = std::string(fileName) + ":" + std::to_string(lineNumber) + ": " + std::string(message);
    return false;
}

ParseResult Parser::Run(std::string_view text) {
    root.key.name = TextEncoding::Decode(hiveName.data(), hiveName.size(), CC_UTF8);
    ParseResult result;
    result.ok = ParseAll(text);
    if (result.ok) {
        Settle(root, result.hive.root);
    } else {
        result.error = std::move(error);
    }
    return result;
}

bool Parser::CheckText(const std::vector<Line>& lines) {
    for (const Line& line : lines) {
        if (!IsValidUtf8(line.text)) {
            return Fail(line.number, "text is not valid UTF-8");
        }
        if (line.text.find('\0') != std::string_view::npos) {
            return Fail(line.number, "NUL byte in the text");
        }
    }
    if (!lines.empty() && TrimRight(lines[0].text) != HeaderLine) {
        return Fail(1, "expected \"" + std::string(HeaderLine) + "\"");
    }
    return true;
}

bool Parser::ParseAll(std::string_view text) {
    if (text.substr(0, ByteOrderMark.size()) == ByteOrderMark) {
        text.remove_prefix(ByteOrderMark.size());
    }
    if (text.substr(0, 2) == "\xFF\xFE" || text.substr(0, 2) == "\xFE\xFF") {
        return Fail(1, "the file is UTF-16 (as the registry editor exports it); store files are UTF-8");
    }
    const std::vector<Line> lines = SplitLines(text);
    if (!CheckText(lines)) {
        return false;
    }
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string_view content = TrimLeft(lines[i].text);
        if (Trim(content).empty() || content.front() == ';') {
            continue;
        }
        bool ok = false;
        if (content.front() == '[') {
            ok = ParseSection({content, lines[i].number});
        } else if (content.front() == '"' || content.front() == '@') {
            ok = ParseValue(lines, i);
        } else {
            ok = Fail(lines[i].number, "expected a [key] line, a value line or a comment");
        }
        if (!ok) {
            return false;
        }
    }
    return true;
}

bool Parser::ParseSection(const Line& line) {
    const std::string_view text = TrimRight(line.text);
    if (text.size() < 2 || text.back() != ']') {
        return Fail(line.number, "key line without a closing ']'");
    }
    const std::string_view path = text.substr(1, text.size() - 2);
    if (!path.empty() && path.front() == '-') {
        return Fail(line.number, "key deletion lines ([-...]) are not allowed in a store file");
    }
    const std::size_t separator = path.find('\\');
    const std::string_view top = path.substr(0, separator);
    if (top.size() != hiveName.size() || !StartsWithIgnoringCase(top, hiveName)) {
        return Fail(line.number, "key outside " + std::string(hiveName));
    }
    std::vector<std::u16string> components;
    if (separator != std::string_view::npos) {
        std::string_view rest = path.substr(separator + 1);
        while (true) {
            const std::size_t next = rest.find('\\');
            const std::string_view name = rest.substr(0, next);
            if (name.empty()) {
                return Fail(line.number, "empty key name in the key path");
            }
            components.push_back(TextEncoding::Decode(name.data(), name.size(), CC_UTF8));
            if (next == std::string_view::npos) {
                break;
            }
            rest.remove_prefix(next + 1);
        }
    }
    PendingKey* key = &root;
    for (const std::u16string& component : components) {
        key = &key->Sub(component);
    }
    currentKey = &key->key;
    return true;
}

std::optional<std::string> Parser::ReadQuoted(std::string_view& text) {
    std::string out;
    while (!text.empty()) {
        const char c = text.front();
        text.remove_prefix(1);
        if (c == '"') {
            return out;
        }
        if (c == '\\') {
            if (text.empty() || (text.front() != '\\' && text.front() != '"')) {
                return std::nullopt;
            }
            out += text.front();
            text.remove_prefix(1);
        } else {
            out += c;
        }
    }
    return std::nullopt;
}

bool Parser::ParseValue(const std::vector<Line>& lines, std::size_t& index) {
    const std::size_t lineNumber = lines[index].number;
    if (currentKey == nullptr) {
        return Fail(lineNumber, "value line outside a key");
    }
    std::string_view text = TrimLeft(lines[index].text);
    Value value;
    if (text.front() == '@') {
        text.remove_prefix(1);
    } else {
        text.remove_prefix(1);
        const std::optional<std::string> name = ReadQuoted(text);
        if (!name) {
            return Fail(lineNumber,
                        "value name without a closing quote, or with an escape other than \\\\ and \\\"");
        }
        if (name->empty()) {
            return Fail(lineNumber, "empty value name (the default value is written @)");
        }
        value.name = TextEncoding::Decode(name->data(), name->size(), CC_UTF8);
    }
    text = TrimLeft(text);
    if (text.empty() || text.front() != '=') {
        return Fail(lineNumber, "expected '=' after the value name");
    }
    text.remove_prefix(1);
    if (!ParseData(TrimLeft(text), lines, index, value)) {
        return false;
    }
    currentKey->SetValue(std::move(value));
    return true;
}

bool Parser::ParseData(std::string_view data, const std::vector<Line>& lines, std::size_t& index,
                       Value& value) {
    const std::size_t lineNumber = lines[index].number;
    if (!data.empty() && data.front() == '"') {
        data.remove_prefix(1);
        const std::optional<std::string> text = ReadQuoted(data);
        if (!text) {
            return Fail(lineNumber,
                        "string value without a closing quote, or with an escape other than \\\\ and \\\"");
        }
        if (!Trim(data).empty()) {
            return Fail(lineNumber, "unexpected text after the string value");
        }
        value.type = StringType;
        value.text = TextEncoding::Decode(text->data(), text->size(), CC_UTF8);
        return true;
    }
    if (StartsWithIgnoringCase(data, "dword:")) {
        const std::string_view digits = TrimRight(data.substr(6));
        UInt32 number = 0;
        if (digits.empty() || digits.size() > 8) {
            return Fail(lineNumber, "dword value needs 1 to 8 hex digits");
        }
        for (const char c : digits) {
            const int digit = GS::HexDigitValue(c);
            if (digit < 0) {
                return Fail(lineNumber, "dword value needs 1 to 8 hex digits");
            }
            number = (number << 4) | static_cast<UInt32>(digit);
        }
        value.type = DWordType;
        value.bytes.clear();
        LittleEndian::Append32(value.bytes, number);
        return true;
    }
    if (StartsWithIgnoringCase(data, "hex")) {
        std::string_view rest = data.substr(3);
        UInt32 type = BinaryType;
        if (!rest.empty() && rest.front() == '(') {
            const std::size_t close = rest.find(')');
            const std::string_view digits = rest.substr(1, close == std::string_view::npos ? 0 : close - 1);
            if (close == std::string_view::npos || digits.empty() || digits.size() > 8) {
                return Fail(lineNumber, "value type in hex(...) needs 1 to 8 hex digits");
            }
            type = 0;
            for (const char c : digits) {
                const int digit = GS::HexDigitValue(c);
                if (digit < 0) {
                    return Fail(lineNumber, "value type in hex(...) needs 1 to 8 hex digits");
                }
                type = (type << 4) | static_cast<UInt32>(digit);
            }
            rest.remove_prefix(close + 1);
        }
        if (rest.empty() || rest.front() != ':') {
            return Fail(lineNumber, "expected ':' after hex");
        }
        std::vector<UInt8> bytes;
        if (!ParseHexList(rest.substr(1), lines, index, bytes)) {
            return false;
        }
        if (type == StringType) {
            if (bytes.size() % 2 != 0) {
                return Fail(lineNumber, "hex(1) string value with an odd number of bytes");
            }
            std::u16string text;
            for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
                text.push_back(static_cast<char16_t>(LittleEndian::Read16(bytes.data() + i)));
            }
            if (!text.empty() && text.back() == u'\0') {
                text.pop_back();
            }
            value.text = std::move(text);
        } else {
            value.bytes = std::move(bytes);
        }
        value.type = type;
        return true;
    }
    if (!data.empty() && data.front() == '-') {
        return Fail(lineNumber, "value deletion lines (=-) are not allowed in a store file");
    }
    return Fail(lineNumber, "unknown value data (expected \"text\", dword:, hex: or hex(N):)");
}

bool Parser::ParseHexList(std::string_view data, const std::vector<Line>& lines, std::size_t& index,
                          std::vector<UInt8>& bytes) {
    std::string_view text = Trim(data);
    while (true) {
        const bool continues = !text.empty() && text.back() == '\\';
        if (continues) {
            text = TrimRight(text.substr(0, text.size() - 1));
        }
        while (!text.empty()) {
            if (text.size() < 2 || GS::HexDigitValue(text[0]) < 0 || GS::HexDigitValue(text[1]) < 0) {
                return Fail(lines[index].number,
                            "byte list needs two hex digits per byte, separated by commas");
            }
            bytes.push_back(static_cast<UInt8>(GS::HexDigitValue(text[0]) * 16 + GS::HexDigitValue(text[1])));
            text.remove_prefix(2);
            text = TrimLeft(text);
            if (!text.empty()) {
                if (text.front() != ',') {
                    return Fail(lines[index].number,
                                "byte list needs two hex digits per byte, separated by commas");
                }
                text = TrimLeft(text.substr(1));
                if (text.empty() && !continues) {
                    return Fail(lines[index].number, "byte list ends with a comma");
                }
            }
        }
        if (!continues) {
            return true;
        }
        if (index + 1 >= lines.size()) {
            return Fail(lines[index].number, "byte list continues past the end of the file");
        }
        ++index;
        text = Trim(lines[index].text);
    }
}

} // namespace

ParseResult Parse(const char* bytes, std::size_t byteCount, std::string_view hiveName,
                  std::string_view fileName) {
    Parser parser(hiveName, fileName);
    return parser.Run(bytes == nullptr ? std::string_view() : std::string_view(bytes, byteCount));
}

} // namespace GS::RegistryStore
