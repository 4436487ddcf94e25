#include "XmlPullParser.hpp"

#include <cstdint>

namespace AnalysisApp {
namespace {

bool IsSpace(char character) {
    return character == ' ' || character == '\t' || character == '\n' || character == '\r';
}

bool EndsName(char character) {
    return IsSpace(character) || character == '/' || character == '>' || character == '=' ||
           character == '\0';
}

void AppendUtf8(std::string& out, std::uint32_t codePoint) {
    if (codePoint == 0 || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
        codePoint = 0xFFFD;
    }
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

// "#65", "#x41" -> 'A'; false for anything else.
bool DecodeCharacterReference(std::string_view reference, std::string& out) {
    if (reference.size() < 2 || reference[0] != '#') {
        return false;
    }
    const bool hex = reference[1] == 'x' || reference[1] == 'X';
    const std::string_view digits = reference.substr(hex ? 2 : 1);
    if (digits.empty() || digits.size() > 8) {
        return false;
    }
    std::uint32_t value = 0;
    for (const char digit : digits) {
        std::uint32_t number = 0;
        if (digit >= '0' && digit <= '9') {
            number = static_cast<std::uint32_t>(digit - '0');
        } else if (hex && digit >= 'a' && digit <= 'f') {
            number = static_cast<std::uint32_t>(digit - 'a' + 10);
        } else if (hex && digit >= 'A' && digit <= 'F') {
            number = static_cast<std::uint32_t>(digit - 'A' + 10);
        } else {
            return false;
        }
        value = value * (hex ? 16u : 10u) + number;
    }
    AppendUtf8(out, value);
    return true;
}

} // namespace

std::string_view LocalName(std::string_view qualifiedName) {
    const std::size_t colon = qualifiedName.rfind(':');
    return colon == std::string_view::npos ? qualifiedName : qualifiedName.substr(colon + 1);
}

std::string_view XmlEvent::AttributeView(std::string_view attributeName) const {
    for (const auto& [key, value] : attributes) {
        if (key == attributeName) {
            return value;
        }
    }
    return {};
}

std::string XmlEvent::Attribute(std::string_view attributeName) const {
    for (const auto& [key, value] : attributes) {
        if (key == attributeName) {
            return value;
        }
    }
    return {};
}

XmlPullParser::XmlPullParser(std::string_view document) : input(document) {}

XmlPullParser::XmlPullParser(XmlInput& source) : pieces(&source), inputEnded(false) {}

char XmlPullParser::At(std::size_t offset) {
    if (offset < input.size()) {
        return input[offset];
    }
    ranOut = true;
    return '\0';
}

bool XmlPullParser::StartsWith(std::string_view prefix) {
    if (position > input.size()) {
        return false;
    }
    const std::string_view rest = input.substr(position);
    if (rest.size() < prefix.size() && prefix.substr(0, rest.size()) == rest) {
        ranOut = true;
    }
    return rest.substr(0, prefix.size()) == prefix;
}

std::size_t XmlPullParser::Find(std::string_view what, std::size_t from) {
    const std::size_t found = input.find(what, from);
    ranOut = ranOut || found == std::string_view::npos;
    return found;
}

std::size_t XmlPullParser::Find(char what, std::size_t from) {
    const std::size_t found = input.find(what, from);
    ranOut = ranOut || found == std::string_view::npos;
    return found;
}

void XmlPullParser::Fail(const std::string& reason) {
    failed = true;
    failure = reason + " at byte " + std::to_string(dropped + position);
    SetEvent(XmlEventKind::Error);
    current.text = failure;
}

void XmlPullParser::SetEvent(XmlEventKind kind) {
    current.kind = kind;
    current.name.clear();
    current.attributes.clear();
    current.text.clear();
}

bool XmlPullParser::SkipPast(std::string_view terminator) {
    const std::size_t found = Find(terminator, position);
    if (found == std::string_view::npos) {
        return false;
    }
    position = found + terminator.size();
    return true;
}

void XmlPullParser::SkipSpace() {
    while (position < input.size() && IsSpace(input[position])) {
        ++position;
    }
    ranOut = ranOut || position >= input.size();
}

std::string_view XmlPullParser::ReadName() {
    const std::size_t start = position;
    while (position < input.size() && !EndsName(input[position])) {
        ++position;
    }
    ranOut = ranOut || position >= input.size();
    return LocalName(input.substr(start, position - start));
}

bool XmlPullParser::ReadMoreInput(std::size_t keepFrom) {
    buffer.erase(0, keepFrom);
    dropped += keepFrom;
    position = 0;
    const bool more = pieces->ReadMore(buffer);
    input = buffer;
    if (!more) {
        inputEnded = true;
    }
    return more || pieces->Failure().empty();
}

bool XmlPullParser::DecodeInto(std::string_view raw, std::string& decoded) {
    std::size_t index = 0;
    while (index < raw.size()) {
        const std::size_t ampersand = raw.find('&', index);
        decoded.append(
            raw.substr(index, ampersand == std::string_view::npos ? raw.size() - index : ampersand - index));
        if (ampersand == std::string_view::npos) {
            return true;
        }
        const std::size_t semicolon = raw.find(';', ampersand);
        if (semicolon == std::string_view::npos || semicolon - ampersand > 12) {
            return false;
        }
        const std::string_view entity = raw.substr(ampersand + 1, semicolon - ampersand - 1);
        if (entity == "lt") {
            decoded += '<';
        } else if (entity == "gt") {
            decoded += '>';
        } else if (entity == "amp") {
            decoded += '&';
        } else if (entity == "quot") {
            decoded += '"';
        } else if (entity == "apos") {
            decoded += '\'';
        } else if (!DecodeCharacterReference(entity, decoded)) {
            return false;
        }
        index = semicolon + 1;
    }
    return true;
}

bool XmlPullParser::ReadPlainContent(std::string_view open, std::string_view close, std::string& text) {
    text.clear();
    if (failed || havePendingEnd || position >= input.size()) {
        return false;
    }
    const std::string_view rest = input.substr(position);
    if (rest.substr(0, open.size()) != open) {
        return false;
    }
    const std::size_t end = rest.find('<', open.size());
    if (end == std::string_view::npos || rest.substr(end, close.size()) != close) {
        return false;
    }
    if (!DecodeInto(rest.substr(open.size(), end - open.size()), text)) {
        text.clear();
        return false; // the events one by one report the bad reference where it is
    }
    position += end + close.size();
    return true;
}

XmlEvent XmlPullParser::Next() {
    return NextEvent();
}

const XmlEvent& XmlPullParser::NextEvent() {
    if (failed) {
        SetEvent(XmlEventKind::Error);
        current.text = failure;
        return current;
    }
    if (havePendingEnd) {
        havePendingEnd = false;
        SetEvent(XmlEventKind::End);
        current.name.swap(pendingEnd);
        return current;
    }
    for (;;) {
        const std::size_t tokenStart = position;
        ranOut = false;
        NextInInput();
        if (!ranOut || inputEnded) {
            return current;
        }
        // The token may go on in the next piece: read it again with more of the document.
        failed = false;
        havePendingEnd = false;
        pendingEnd.clear();
        if (!ReadMoreInput(tokenStart)) {
            Fail("the document cannot be read: " + pieces->Failure());
            return current;
        }
    }
}

void XmlPullParser::NextInInput() {
    while (position < input.size()) {
        if (input[position] != '<') {
            ReadText();
            return;
        }
        const char second = At(position + 1);
        if (second != '?' && second != '!') {
            if (second == '/') {
                ReadEndTag();
            } else {
                ReadStartTag();
            }
            return;
        }
        if (second == '?') {
            if (!SkipPast("?>")) {
                Fail("unterminated processing instruction");
                return;
            }
        } else if (StartsWith("<!--")) {
            if (!SkipPast("-->")) {
                Fail("unterminated comment");
                return;
            }
        } else if (StartsWith("<![CDATA[")) {
            const std::size_t start = position + 9;
            if (!SkipPast("]]>")) {
                Fail("unterminated CDATA section");
                return;
            }
            SetEvent(XmlEventKind::Text);
            current.text.assign(input.substr(start, position - 3 - start));
            return;
        } else {
            const std::size_t close = Find('>', position);
            const std::size_t bracket = input.find('[', position);
            const bool internalSubset = bracket != std::string_view::npos && bracket < close;
            if (!SkipPast(internalSubset ? "]>" : ">")) {
                Fail("unterminated declaration");
                return;
            }
        }
    }
    ranOut = true;
    SetEvent(XmlEventKind::Done);
}

void XmlPullParser::ReadText() {
    const std::size_t start = position;
    const std::size_t next = Find('<', position);
    position = next == std::string_view::npos ? input.size() : next;
    SetEvent(XmlEventKind::Text);
    if (!DecodeInto(input.substr(start, position - start), current.text)) {
        position = start;
        Fail("bad entity reference");
    }
}

void XmlPullParser::ReadEndTag() {
    position += 2;
    SetEvent(XmlEventKind::End);
    current.name.assign(ReadName());
    SkipSpace();
    if (At(position) != '>') {
        Fail("malformed end tag");
        return;
    }
    ++position;
}

void XmlPullParser::ReadStartTag() {
    ++position;
    SetEvent(XmlEventKind::Start);
    current.name.assign(ReadName());
    if (current.name.empty()) {
        Fail("element without a name");
        return;
    }
    for (;;) {
        SkipSpace();
        const char next = At(position);
        if (next == '>') {
            ++position;
            return;
        }
        if (next == '/' && At(position + 1) == '>') {
            position += 2;
            pendingEnd.assign(current.name);
            havePendingEnd = true;
            return;
        }
        const std::string_view attributeName = ReadName();
        SkipSpace();
        if (attributeName.empty() || At(position) != '=') {
            Fail("malformed attribute");
            return;
        }
        ++position;
        SkipSpace();
        const char quote = At(position);
        if (quote != '"' && quote != '\'') {
            Fail("attribute value without quotes");
            return;
        }
        const std::size_t end = Find(quote, position + 1);
        if (end == std::string_view::npos) {
            Fail("unterminated attribute value");
            return;
        }
        auto& attribute = current.attributes.emplace_back(std::string(attributeName), std::string());
        if (!DecodeInto(input.substr(position + 1, end - position - 1), attribute.second)) {
            Fail("bad entity reference");
            return;
        }
        position = end + 1;
    }
}

} // namespace AnalysisApp
