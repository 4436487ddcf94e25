#include "Xml/XmlPullParser.hpp"

#include "Xml/XmlCharacters.hpp"

#include <algorithm>
#include <cstdint>

namespace AnalysisApp {
namespace {

// No part of a spreadsheet workbook comes near these; a document beyond them is refused rather than
// held in memory (a token is kept whole until it ends) or walked down without end.
constexpr std::size_t MaxTokenBytes = std::size_t{4} << 20;
constexpr std::size_t MaxDepth = 1024;
constexpr std::size_t MaxAttributes = 1024;

// "#65", "#x41" -> 'A'; false for anything else, a character that XML does not allow included.
bool DecodeCharacterReference(std::string_view reference, std::string& out) {
    if (reference.size() < 2 || reference[0] != '#') {
        return false;
    }
    const bool hex = reference[1] == 'x';
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
    if (!IsXmlCharacter(value)) {
        return false;
    }
    AppendUtf8(out, value);
    return true;
}

// The names of a run of at most four tags written plainly, "<is><t>" or "</t></is></c>": the
// brackets stripped. Nothing for anything else.
std::vector<std::string> PlainTagNames(std::string_view tags, std::string_view opening) {
    std::vector<std::string> names;
    while (!tags.empty()) {
        const std::size_t close = tags.find('>');
        if (names.size() == 4 || tags.substr(0, opening.size()) != opening ||
            close == std::string_view::npos) {
            return {};
        }
        const std::string_view name = tags.substr(opening.size(), close - opening.size());
        if (!IsQualifiedName(name)) {
            return {};
        }
        names.emplace_back(name);
        tags.remove_prefix(close + 1);
    }
    return names;
}

// Short runs of bytes compared in place: a call to memcmp costs more than the few bytes of a tag.
bool SameBytes(std::string_view first, std::string_view second) {
    if (first.size() != second.size()) {
        return false;
    }
    for (std::size_t index = 0; index < first.size(); ++index) {
        if (first[index] != second[index]) {
            return false;
        }
    }
    return true;
}

bool BeginsWith(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && SameBytes(text.substr(0, prefix.size()), prefix);
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
    return std::string(AttributeView(attributeName));
}

XmlPlainRun::XmlPlainRun(std::string_view openTags, std::string_view closeTags)
    : open(openTags), close(closeTags), opened(PlainTagNames(openTags, "<")),
      closedOpen(PlainTagNames(closeTags, "</")) {
    // The run must close what it opens, innermost first; what it closes beyond must be open already.
    bool closesItsOwn = !opened.empty() && closedOpen.size() >= opened.size();
    for (std::size_t index = 0; closesItsOwn && index < opened.size(); ++index) {
        closesItsOwn = closedOpen[index] == opened[opened.size() - 1 - index];
    }
    if (!closesItsOwn) {
        opened.clear();
        closedOpen.clear();
    }
    closedOpen.erase(closedOpen.begin(), closedOpen.begin() + static_cast<std::ptrdiff_t>(opened.size()));
}

XmlPullParser::XmlPullParser(std::string_view document) : input(document) {
    ScanCharacters();
}

XmlPullParser::XmlPullParser(XmlInput& source) : pieces(&source), inputEnded(false) {}

// At and SkipSpace are asked several times a tag: inline, as calls they cost more than their work.
inline char XmlPullParser::At(std::size_t offset) {
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
    FailAt(reason, position);
}

void XmlPullParser::FailAt(const std::string& reason, std::size_t offset) {
    failed = true;
    failure = reason + " at byte " + std::to_string(dropped + offset);
    SetEvent(XmlEventKind::Error);
    current.text = failure;
}

void XmlPullParser::SetEvent(XmlEventKind kind) {
    current.kind = kind;
    current.name.clear();
    current.text.clear();
    // A start tag fills its attributes in place (ReadStartTag), keeping their strings' room.
    if (kind != XmlEventKind::Start) {
        current.attributes.clear();
    }
}

bool XmlPullParser::SkipPast(std::string_view terminator) {
    const std::size_t found = Find(terminator, position);
    if (found == std::string_view::npos) {
        return false;
    }
    position = found + terminator.size();
    return true;
}

inline void XmlPullParser::SkipSpace() {
    while (position < input.size() && IsXmlSpace(input[position])) {
        ++position;
    }
    ranOut = ranOut || position >= input.size();
}

std::string_view XmlPullParser::ReadName() {
    const std::size_t start = position;
    while (position < input.size() && !EndsXmlName(input[position])) {
        ++position;
    }
    ranOut = ranOut || position >= input.size();
    return input.substr(start, position - start);
}

// Keeps the unfinished token from `keepFrom` and reads until what is held has at least doubled, so
// that a token read again after each read costs time in proportion to its length.
bool XmlPullParser::ReadMoreInput(std::size_t keepFrom) {
    buffer.erase(0, keepFrom);
    dropped += keepFrom;
    position = 0;
    scanned -= std::min(scanned, keepFrom);
    if (illegalAt != std::string_view::npos) {
        illegalAt -= std::min(illegalAt, keepFrom); // never before the token kept: those before passed
    }
    const std::size_t target = std::max<std::size_t>(2 * buffer.size(), buffer.size() + 1);
    bool more = true;
    while (more && buffer.size() < target) {
        more = pieces->ReadMore(buffer);
    }
    input = buffer;
    if (!more) {
        inputEnded = true;
    }
    ScanCharacters();
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

void XmlPullParser::ScanCharacters() {
    if (illegalAt != std::string_view::npos || scanned >= input.size()) {
        return;
    }
    const XmlCharacterScan scan = ScanXmlCharacters(input.substr(scanned), inputEnded);
    if (scan.illegal != std::string_view::npos) {
        illegalAt = scanned + scan.illegal;
    }
    scanned += scan.checked;
}

bool XmlPullParser::ReadPlainContent(const XmlPlainRun& run, std::string& text) {
    text.clear();
    if (failed || havePendingEnd || position >= input.size() || run.opened.empty()) {
        return false;
    }
    const std::string_view rest = input.substr(position);
    if (!BeginsWith(rest, run.open)) {
        return false;
    }
    const std::size_t end = rest.find('<', run.open.size());
    if (end == std::string_view::npos || !BeginsWith(rest.substr(end), run.close)) {
        return false;
    }
    // Beyond its own tags, the run closes the innermost open elements: they must be the ones named.
    const std::size_t closedOpen = run.closedOpen.size();
    if (closedOpen > openElements.size()) {
        return false;
    }
    for (std::size_t index = 0; index < closedOpen; ++index) {
        if (!SameBytes(run.closedOpen[index], openElements[openElements.size() - 1 - index])) {
            return false;
        }
    }
    // The text's characters were checked as they arrived; "]]>" and references need a look only
    // where a ']' or a '&' is.
    const std::string_view raw = rest.substr(run.open.size(), end - run.open.size());
    const std::size_t rawEnd = position + end;
    if (rawEnd > scanned || illegalAt < rawEnd) {
        return false; // the events one by one report what is wrong where it is
    }
    bool plain = true;
    for (const char character : raw) {
        if (character == '&' || character == ']') {
            plain = false;
            break;
        }
    }
    if (plain) {
        text.append(raw);
    } else if (raw.find("]]>") != std::string_view::npos || !DecodeInto(raw, text)) {
        text.clear();
        return false;
    }
    openElements.resize(openElements.size() - closedOpen);
    rootClosed = openElements.empty();
    position += end + run.close.size();
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
        PopElement();
        SetEvent(XmlEventKind::End);
        current.name.swap(pendingEnd);
        return current;
    }
    for (;;) {
        const std::size_t tokenStart = position;
        const std::size_t depth = openElements.size();
        const bool rootWasSeen = rootSeen;
        const bool rootWasClosed = rootClosed;
        ranOut = false;
        const bool event = NextToken();
        // A token that reaches bytes whose characters are not judged yet (one cut by the piece's end)
        // is read again with more, like any token the piece cut.
        ranOut = ranOut || (position > scanned && !inputEnded);
        if (!ranOut || inputEnded) {
            if (failed) {
                return current;
            }
            if (illegalAt < position) {
                FailAt("a byte that is no legal character", illegalAt);
                return current;
            }
            if (event) {
                return current;
            }
            continue; // a comment, a processing instruction or space outside the root: nothing to hand out
        }
        // The token may go on in the next piece: read it again with more of the document.
        failed = false;
        openElements.resize(std::min(openElements.size(), depth));
        rootSeen = rootWasSeen;
        rootClosed = rootWasClosed;
        havePendingEnd = false;
        pendingEnd.clear();
        position = tokenStart;
        if (input.size() - tokenStart > MaxTokenBytes) {
            Fail("a token longer than " + std::to_string(MaxTokenBytes >> 20) + " MiB");
            return current;
        }
        if (!ReadMoreInput(tokenStart)) {
            Fail("the document cannot be read: " + pieces->Failure());
            return current;
        }
    }
}

void XmlPullParser::PopElement() {
    openElements.pop_back();
    rootClosed = openElements.empty();
}

// One token: true when it gives an event. At the end of the document, Done, or an error when the
// document is not complete.
bool XmlPullParser::NextToken() {
    if (position == 0 && dropped == 0 && input.substr(0, 3) == "\xEF\xBB\xBF") {
        position = 3; // a byte-order mark
        documentStart = 3;
    }
    if (position >= input.size()) {
        ranOut = true;
        if (!rootSeen) {
            Fail("no root element");
        } else if (!openElements.empty()) {
            Fail("element <" + std::string(openElements.back()) + "> is not closed");
        } else {
            SetEvent(XmlEventKind::Done);
        }
        return true;
    }
    if (input[position] != '<') {
        return ReadText();
    }
    const char second = At(position + 1);
    if (second == '?') {
        ReadProcessingInstruction();
        return false;
    }
    if (second == '/') {
        ReadEndTag();
        return true;
    }
    if (second != '!') {
        ReadStartTag();
        return true;
    }
    if (StartsWith("<!--")) {
        ReadComment();
        return false;
    }
    if (StartsWith("<![CDATA[")) {
        const std::size_t start = position + 9;
        if (openElements.empty()) {
            Fail("a CDATA section outside the root element");
            return true;
        }
        if (!SkipPast("]]>")) {
            Fail("unterminated CDATA section");
            return true;
        }
        SetEvent(XmlEventKind::Text);
        current.text.assign(input.substr(start, position - 3 - start));
        return true;
    }
    Fail(StartsWith("<!DOCTYPE") ? "a document type declaration (DTD), which is not allowed"
                                 : "malformed markup declaration");
    return true;
}

void XmlPullParser::ReadProcessingInstruction() {
    const std::size_t start = position;
    position += 2;
    const std::string_view target = ReadName();
    if (!IsXmlName(target)) {
        Fail("a processing instruction without a target");
        return;
    }
    const bool declaration = target.size() == 3 && (target[0] | 0x20) == 'x' && (target[1] | 0x20) == 'm' &&
                             (target[2] | 0x20) == 'l';
    if (declaration && (dropped + start != documentStart || target != "xml")) {
        FailAt("an XML declaration that is not at the start", start);
        return;
    }
    const char after = At(position);
    if (!IsXmlSpace(after) && !(after == '?' && At(position + 1) == '>')) {
        Fail("malformed processing instruction");
        return;
    }
    if (!SkipPast("?>")) {
        FailAt("unterminated processing instruction", start);
    }
}

void XmlPullParser::ReadComment() {
    const std::size_t start = position;
    const std::size_t dashes = Find("--", position + 4);
    if (dashes == std::string_view::npos || At(dashes + 2) == '\0') {
        FailAt("unterminated comment", start);
        return;
    }
    if (input[dashes + 2] != '>') {
        FailAt("\"--\" inside a comment", dashes);
        return;
    }
    position = dashes + 3;
}

bool XmlPullParser::ReadText() {
    const std::size_t start = position;
    const std::size_t next = Find('<', position);
    position = next == std::string_view::npos ? input.size() : next;
    const std::string_view raw = input.substr(start, position - start);
    if (openElements.empty()) {
        const auto notSpace = std::find_if_not(raw.begin(), raw.end(), IsXmlSpace);
        if (notSpace != raw.end()) {
            FailAt(rootSeen ? "text after the root element" : "text before the root element",
                   start + static_cast<std::size_t>(notSpace - raw.begin()));
            return true;
        }
        return false;
    }
    if (const std::size_t end = raw.find("]]>"); end != std::string_view::npos) {
        FailAt("\"]]>\" in text", start + end);
        return true;
    }
    SetEvent(XmlEventKind::Text);
    if (!DecodeInto(raw, current.text)) {
        position = start;
        Fail("bad entity reference");
    }
    return true;
}

void XmlPullParser::ReadEndTag() {
    const std::size_t start = position;
    position += 2;
    SetEvent(XmlEventKind::End);
    const std::string_view name = ReadName();
    SkipSpace();
    if (At(position) != '>' || ranOut) {
        Fail(ranOut ? "unterminated end tag" : "malformed end tag");
        return;
    }
    if (openElements.empty() || name != openElements.back()) {
        FailAt(openElements.empty() ? "an end tag without its element"
                                    : "end tag </" + std::string(name) + "> where </" +
                                          std::string(openElements.back()) + "> belongs",
               start);
        return;
    }
    current.name.append(LocalName(name));
    PopElement();
    ++position;
}

void XmlPullParser::ReadStartTag() {
    const std::size_t start = position;
    ++position;
    SetEvent(XmlEventKind::Start);
    const std::string_view name = ReadName();
    const XmlNameClass nameClass = ClassifyXmlName(name);
    if (nameClass.kind == XmlNameKind::NotAName) {
        FailAt(name.empty() ? "element without a name" : "an element name that is no XML name", start + 1);
        return;
    }
    if (nameClass.kind != XmlNameKind::Qualified) {
        FailAt("an element name with a colon that is no qualified name", start + 1);
        return;
    }
    if (rootClosed) {
        FailAt("a second root element", start);
        return;
    }
    if (openElements.size() >= MaxDepth) {
        FailAt("elements nested deeper than " + std::to_string(MaxDepth), start);
        return;
    }
    current.name.append(name.substr(nameClass.localStart));
    openElements.push_back(name);
    rootSeen = true;
    qualifiedNames.clear();
    std::size_t used = 0; // attributes filled in place, the room of earlier tags' reused
    for (;;) {
        const bool spaced = position < input.size() && IsXmlSpace(input[position]);
        SkipSpace();
        const char next = At(position);
        if (next == '>') {
            ++position;
            break;
        }
        if (next == '/' && At(position + 1) == '>') {
            position += 2;
            pendingEnd.assign(current.name);
            havePendingEnd = true;
            break;
        }
        if (ranOut) {
            Fail("unterminated start tag");
            return;
        }
        const std::size_t attributeStart = position;
        const std::string_view attributeName = ReadName();
        const XmlNameClass attributeClass = ClassifyXmlName(attributeName);
        SkipSpace();
        if (!spaced || attributeClass.kind == XmlNameKind::NotAName || At(position) != '=') {
            FailAt("malformed attribute", attributeStart);
            return;
        }
        if (attributeClass.kind != XmlNameKind::Qualified) {
            FailAt("an attribute name with a colon that is no qualified name", attributeStart);
            return;
        }
        ++position;
        SkipSpace();
        const char quote = At(position);
        if (quote != '"' && quote != '\'') {
            Fail("attribute value without quotes");
            return;
        }
        // One pass to the closing quote notes a '<' (never allowed) and a '&' (to decode).
        std::size_t end = position + 1;
        bool lessThan = false;
        bool ampersand = false;
        while (end < input.size() && input[end] != quote) {
            lessThan = lessThan || input[end] == '<';
            ampersand = ampersand || input[end] == '&';
            ++end;
        }
        if (end >= input.size()) {
            ranOut = true;
            Fail("unterminated attribute value");
            return;
        }
        const std::string_view raw = input.substr(position + 1, end - position - 1);
        if (lessThan) {
            Fail("\"<\" in an attribute value");
            return;
        }
        if (used >= MaxAttributes) {
            Fail("more than " + std::to_string(MaxAttributes) + " attributes on one element");
            return;
        }
        qualifiedNames.push_back(attributeName);
        if (used == current.attributes.size()) {
            current.attributes.emplace_back();
        }
        auto& attribute = current.attributes[used++];
        attribute.first.clear();
        attribute.first.append(attributeName.substr(attributeClass.localStart));
        attribute.second.clear();
        if (!ampersand) {
            attribute.second.append(raw);
        } else if (!DecodeInto(raw, attribute.second)) {
            Fail("bad entity reference");
            return;
        }
        position = end + 1;
    }
    current.attributes.resize(used);
    if (HasRepeatedAttribute()) {
        FailAt("an attribute given twice", start);
    }
}

// The few attributes of a usual tag are compared pair by pair; many are sorted once, so that a tag of
// many attributes costs n log n, not n squared.
bool XmlPullParser::HasRepeatedAttribute() {
    constexpr std::size_t FewAttributes = 8;
    if (qualifiedNames.size() <= FewAttributes) {
        for (std::size_t first = 0; first < qualifiedNames.size(); ++first) {
            for (std::size_t second = first + 1; second < qualifiedNames.size(); ++second) {
                if (SameBytes(qualifiedNames[first], qualifiedNames[second])) {
                    return true;
                }
            }
        }
        return false;
    }
    std::sort(qualifiedNames.begin(), qualifiedNames.end());
    return std::adjacent_find(qualifiedNames.begin(), qualifiedNames.end()) != qualifiedNames.end();
}

} // namespace AnalysisApp
