#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A small pull parser for the XML parts of a workbook: elements, attributes and character data, with
// the five named entities and character references decoded. Namespace prefixes are dropped from
// names ("x:row" is "row"), because writers pick prefixes freely. Declarations, comments,
// processing instructions and DOCTYPE are skipped; CDATA is text. It works on bytes and checks every
// index, so damaged input ends in an Error event, never a read outside the input.
namespace AnalysisApp {

enum class XmlEventKind { Start, End, Text, Done, Error };

struct XmlEvent {
    XmlEventKind kind = XmlEventKind::Done;
    std::string name;                                            // Start and End: the local name
    std::vector<std::pair<std::string, std::string>> attributes; // Start: local names, decoded values
    std::string text; // Text: decoded; Error: what is wrong, with the byte offset

    // The value of the attribute with this local name, or empty.
    std::string Attribute(std::string_view attributeName) const;
};

class XmlPullParser {
public:
    explicit XmlPullParser(std::string_view document);

    // A self-closing element gives a Start and then an End. After Done or Error, the same again.
    XmlEvent Next();

private:
    char At(std::size_t offset) const;
    bool StartsWith(std::string_view prefix) const;
    XmlEvent Fail(const std::string& reason);
    bool SkipPast(std::string_view terminator);
    XmlEvent ReadMarkup();
    XmlEvent ReadStartTag();
    XmlEvent ReadEndTag();
    XmlEvent ReadText();
    std::string ReadName();
    void SkipSpace();
    bool DecodeInto(std::string_view raw, std::string& decoded);

    std::string_view input;
    std::size_t position = 0;
    std::string pendingEnd;
    bool havePendingEnd = false;
    bool failed = false;
    std::string failure;
};

// "x:row" -> "row".
std::string_view LocalName(std::string_view qualifiedName);

} // namespace AnalysisApp
