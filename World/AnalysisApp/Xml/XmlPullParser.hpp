#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A small pull parser for the XML parts of a workbook: elements, attributes and character data, with
// the five named entities and character references decoded. Namespace prefixes are dropped from
// names ("x:row" is "row"), because writers pick prefixes freely. The XML declaration, comments and
// processing instructions are skipped; CDATA is text. It hands out only a well-formed document: the
// first thing that is not (a tag that does not match, a second root, text outside the root, a byte
// that is no legal UTF-8 character, an unknown entity, a document type declaration, which could only
// bring entities that a workbook does not use) ends it in an Error event naming the byte offset. It
// works on bytes and checks every index, so damaged input never reads outside the input; time is in
// proportion to the input, and memory to its longest token (at most 4 MiB) and its depth.
namespace AnalysisApp {

enum class XmlEventKind { Start, End, Text, Done, Error };

struct XmlEvent {
    XmlEventKind kind = XmlEventKind::Done;
    std::string name;                                            // Start and End: the local name
    std::vector<std::pair<std::string, std::string>> attributes; // Start: local names, decoded values
    std::string text; // Text: decoded; Error: what is wrong, with the byte offset

    // The value of the attribute with this local name, or empty.
    std::string Attribute(std::string_view attributeName) const;
    // The same without a copy, valid while the event is.
    std::string_view AttributeView(std::string_view attributeName) const;
};

// The bytes of a document that arrives in pieces.
class XmlInput {
public:
    virtual ~XmlInput() = default;
    // Appends the next piece to `out`; false at the end, or on a failure that Failure() names.
    virtual bool ReadMore(std::string& out) = 0;
    virtual std::string Failure() const = 0;
};

// A run of tags written plainly around a text, "<is><t>" and "</t></is></c>", with the names of its
// tags found once: the worksheet reader asks for the same run at every cell. A run that is not of
// that form (at most four tags each side, no attributes) never matches.
class XmlPlainRun {
public:
    XmlPlainRun(std::string_view open, std::string_view close);

private:
    friend class XmlPullParser;
    std::string open;
    std::string close;
    std::vector<std::string> opened;     // the names of the tags in `open`, in order
    std::vector<std::string> closedOpen; // the elements `close` ends beyond those, innermost first
};

// The qualified names of the open elements, outermost first, kept in one string so that opening and
// closing an element allocates nothing once the deepest path has been seen.
class XmlOpenElements {
public:
    std::size_t size() const { return ends.size(); }
    bool empty() const { return ends.empty(); }
    std::string_view operator[](std::size_t index) const {
        const std::size_t start = index == 0 ? 0 : ends[index - 1];
        return std::string_view(names).substr(start, ends[index] - start);
    }
    std::string_view back() const { return (*this)[ends.size() - 1]; }
    void push_back(std::string_view name) {
        const std::size_t start = ends.empty() ? 0 : ends.back();
        if (names.size() < start + name.size()) {
            names.resize(start + name.size());
        }
        for (std::size_t index = 0; index < name.size(); ++index) {
            names[start + index] = name[index]; // names are short: a call to memcpy costs more
        }
        ends.push_back(start + name.size());
    }
    void pop_back() { ends.pop_back(); }
    // Closes the innermost elements until `count` stay open (never more than are).
    void resize(std::size_t count) { ends.resize(count); }

private:
    // The names, each ending where `ends` says; what lies beyond the last end is room for the next.
    std::string names;
    std::vector<std::size_t> ends;
};

class XmlPullParser {
public:
    explicit XmlPullParser(std::string_view document);
    // Reads the document piece by piece: only the piece at hand and an unfinished token are held.
    explicit XmlPullParser(XmlInput& pieces);

    // A self-closing element gives a Start and then an End. After Done or Error, the same again.
    XmlEvent Next();
    // The same without a copy: the event stays valid until the next call.
    const XmlEvent& NextEvent();

    // Reads the run's opening tags, plain text and closing tags in one step when the input goes on
    // with exactly that ("<v>", "1.5", "</v></c>"), the text decoded into `text`. False, with nothing
    // consumed and `text` empty, for anything else (other markup inside, a bad reference, a piece that
    // ends too early, ...): the events then come one by one as always.
    bool ReadPlainContent(const XmlPlainRun& run, std::string& text);

private:
    bool NextToken();
    void SetEvent(XmlEventKind kind);
    bool ReadMoreInput(std::size_t keepFrom);
    char At(std::size_t offset);
    bool StartsWith(std::string_view prefix);
    std::size_t Find(std::string_view what, std::size_t from);
    std::size_t Find(char what, std::size_t from);
    void Fail(const std::string& reason);
    void FailAt(const std::string& reason, std::size_t offset);
    void ScanCharacters();
    bool SkipPast(std::string_view terminator);
    void ReadStartTag();
    bool HasRepeatedAttribute();
    void ReadEndTag();
    bool ReadText();
    void ReadProcessingInstruction();
    void ReadComment();
    void PopElement();
    std::string_view ReadName();
    void SkipSpace();
    bool DecodeInto(std::string_view raw, std::string& decoded);

    std::string_view input;
    std::size_t position = 0;
    // Streaming: the input is `buffer`, which starts `dropped` bytes into the document. A token that
    // reaches the end of the buffer before the document's end sets `ranOut` and is read again once
    // more has arrived.
    XmlInput* pieces = nullptr;
    std::string buffer;
    std::size_t dropped = 0;
    // The input's characters are checked once as they arrive, up to `scanned`; `illegalAt` is the
    // first byte that is no legal character (npos: none yet). A token is refused when it holds it.
    std::size_t scanned = 0;
    std::size_t illegalAt = std::string_view::npos;
    bool ranOut = false;
    bool inputEnded = true;
    std::string pendingEnd;
    bool havePendingEnd = false;
    bool failed = false;
    std::string failure;
    XmlEvent current;
    // The open elements; a root once opened, and closed.
    XmlOpenElements openElements;
    bool rootSeen = false;
    bool rootClosed = false;
    std::size_t documentStart = 0;                // after a byte-order mark
    std::vector<std::string_view> qualifiedNames; // the current start tag's attributes
};

// "x:row" -> "row".
std::string_view LocalName(std::string_view qualifiedName);

} // namespace AnalysisApp
