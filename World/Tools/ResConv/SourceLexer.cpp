#include "SourceLexer.hpp"

#include <charconv>
#include <cstdio>
#include <limits>

namespace ResConv {

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
bool EndsValue(char c) {
    return IsSpace(c) || c == '#';
}

int HexDigitValue(char c) {
    if (IsDigit(c)) {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

std::string DescribeCharacter(char c) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte > 0x20 && byte < 0x7F) {
        return std::string("character \"") + c + "\"";
    }
    char text[16];
    std::snprintf(text, sizeof text, "byte 0x%02X", byte);
    return text;
}

struct LexError {
    std::string message;
};

class LineLexer {
public:
    explicit LineLexer(std::string_view text) : line(text) {}

    std::vector<SourceValue> Run() {
        std::vector<SourceValue> values;
        while (SkipSpaces()) {
            values.push_back(NextValue());
            if (position < line.size() && !EndsValue(line[position])) {
                const char* where =
                    values.back().kind == ValueKind::Text ? " right after the closing quote" : "";
                throw LexError{"unexpected " + DescribeCharacter(line[position]) + where};
            }
        }
        return values;
    }

private:
    // False at the end of the line or at a comment.
    bool SkipSpaces() {
        while (position < line.size() && IsSpace(line[position])) {
            ++position;
        }
        return position < line.size() && line[position] != '#';
    }

    SourceValue NextValue() {
        const char c = line[position];
        if (c == '"') {
            return Text();
        }
        if (IsDigit(c) || (c == '-' && position + 1 < line.size() && IsDigit(line[position + 1]))) {
            return Number();
        }
        if (IsLetter(c)) {
            return Word();
        }
        throw LexError{"unexpected " + DescribeCharacter(c)};
    }

    SourceValue Word() {
        const std::size_t start = position;
        while (position < line.size() && (IsLetter(line[position]) || IsDigit(line[position]))) {
            ++position;
        }
        return SourceValue{ValueKind::Word, 0, std::string(line.substr(start, position - start))};
    }

    SourceValue Number() {
        const std::size_t start = position;
        while (position < line.size() && !EndsValue(line[position])) {
            ++position;
        }
        const std::string_view token = line.substr(start, position - start);
        const bool negative = token.front() == '-';
        std::string_view digits = token.substr(negative ? 1 : 0);
        int base = 10;
        if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
            base = 16;
            digits.remove_prefix(2);
        }
        std::uint64_t magnitude = 0;
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), magnitude, base);
        if (error == std::errc::result_out_of_range ||
            (error == std::errc() && magnitude > std::uint64_t{std::numeric_limits<std::int64_t>::max()})) {
            throw LexError{"number " + std::string(token) + " is too large"};
        }
        if (error != std::errc() || end != digits.data() + digits.size()) {
            throw LexError{"\"" + std::string(token) + "\" is not a number"};
        }
        const auto value = static_cast<std::int64_t>(magnitude);
        return SourceValue{ValueKind::Number, negative ? -value : value, {}};
    }

    SourceValue Text() {
        ++position;
        std::string bytes;
        while (position < line.size() && line[position] != '"') {
            bytes.push_back(line[position] == '\\' ? Escape() : line[position++]);
        }
        if (position == line.size()) {
            throw LexError{"text has no closing quote"};
        }
        ++position;
        return SourceValue{ValueKind::Text, 0, std::move(bytes)};
    }

    char Escape() {
        ++position;
        if (position == line.size()) {
            throw LexError{"text has no closing quote"};
        }
        const char code = line[position++];
        switch (code) {
        case '"':
        case '\\':
            return code;
        case 'n':
            return '\n';
        case 'r':
            return '\r';
        case 't':
            return '\t';
        case 'x':
            return HexEscape();
        default:
            throw LexError{std::string("unknown escape \"\\") + code + "\" in text"};
        }
    }

    char HexEscape() {
        const int high = position < line.size() ? HexDigitValue(line[position]) : -1;
        const int low = position + 1 < line.size() ? HexDigitValue(line[position + 1]) : -1;
        if (high < 0 || low < 0) {
            throw LexError{"escape \"\\x\" needs two hex digits"};
        }
        position += 2;
        return static_cast<char>(static_cast<unsigned char>(high * 16 + low));
    }

    std::string_view line;
    std::size_t position = 0;
};

} // namespace

std::optional<std::vector<SourceValue>> LexLine(std::string_view line, const SourcePosition& position,
                                                Diagnostics& diagnostics) {
    try {
        return LineLexer(line).Run();
    } catch (const LexError& error) {
        diagnostics.Report(position, error.message);
        return std::nullopt;
    }
}

} // namespace ResConv
