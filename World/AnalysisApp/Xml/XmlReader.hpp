#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct XML_ParserStruct; // expat's parser

// The XML parts of a workbook, read by expat as a stream: the part arrives in pieces and is pushed
// through the parser piece by piece, so that only a piece and an unfinished token are held. Only a
// well-formed document is read to its end; the first fault ends it with what is wrong and the byte
// offset. Beyond what expat checks, a part is refused for what no workbook holds: a document type
// declaration (which alone could declare entities), a token longer than 4 MiB, elements nested deeper
// than 1024, more than 1024 attributes on one element, a name whose colon namespaces cannot read, and
// more than 64 MiB of the parser's own memory (its tables of names grow with every new name). Names
// are handed out as local names ("x:row" is "row"), because writers pick prefixes freely.
namespace AnalysisApp {

// The bytes of a document that arrives in pieces.
class XmlInput {
public:
    virtual ~XmlInput() = default;
    // Appends the next piece to `out`; false at the end, or on a failure that Failure() names.
    virtual bool ReadMore(std::string& out) = 0;
    virtual std::string Failure() const = 0;
};

// A start tag's attributes by local name, valid during the call that hands them over.
class XmlAttributes {
public:
    // The value of the attribute with this local name, or empty.
    std::string_view Value(std::string_view localName) const {
        for (const auto& [name, value] : pairs) {
            if (name == localName) {
                return value;
            }
        }
        return {};
    }
    std::size_t Count() const { return pairs.size(); }
    std::pair<std::string_view, std::string_view> operator[](std::size_t index) const { return pairs[index]; }

private:
    friend class XmlReader;
    // Values as expat hands them, measured only when asked for: most attributes of a sheet never are.
    std::vector<std::pair<std::string_view, const char*>> pairs;
};

// What a document holds, in its order. Character data comes decoded, and one run of it may come in
// several calls (pieces and references split it).
class XmlHandler {
public:
    virtual ~XmlHandler() = default;
    virtual void StartElement(std::string_view name, const XmlAttributes& attributes) = 0;
    virtual void EndElement(std::string_view /*name*/) {}
    virtual void Text(std::string_view /*text*/) {}
};

class XmlReader {
public:
    XmlReader(XmlInput& input, XmlHandler& handler);
    ~XmlReader();
    XmlReader(const XmlReader&) = delete;
    XmlReader& operator=(const XmlReader&) = delete;

    enum class Status { Paused, Done, Failed };
    // Reads on until the handler pauses, the document ends, or a fault ends it (Error() then says what
    // and where). An exception thrown by the handler (running out of memory) comes out of here.
    Status Read();
    // From inside the handler: Read returns Paused once the current call returns; the next Read goes on.
    void Pause();
    const std::string& Error() const { return error; }

private:
    struct Events;

    // The open elements' qualified names, outermost first, in one buffer that only grows: the expat
    // error of a mismatched end tag does not say which element it should have closed.
    struct OpenElement {
        std::size_t start;
        std::size_t local; // where the name's local part starts
        std::size_t end;
    };
    void Open(const char* name, std::size_t length, std::size_t localStart);
    std::string_view Innermost() const;

    void Fail(const std::string& reason, std::uint64_t offset);
    std::string DescribeExpatError();
    std::uint64_t Here() const;

    XmlInput& input;
    XmlHandler& handler;
    // expat's heap, counted: the first member, so that it outlives the parser.
    struct Memory {
        std::size_t used = 0;
        bool overdrawn = false;
    } memory;
    XML_ParserStruct* parser = nullptr;
    std::string error;
    std::exception_ptr thrown;
    XmlAttributes attributes;
    std::string openNames;
    std::vector<OpenElement> open;
    bool rootSeen = false;
    std::size_t textRun = 0; // bytes of character data since the last tag
    // Bytes read from the input and not yet handed to expat: pending[consumed..].
    std::string pending;
    std::size_t consumed = 0;
    std::uint64_t received = 0;   // bytes read from the input
    std::uint64_t fed = 0;        // bytes handed to expat
    std::uint64_t unfinished = 0; // bytes of a token that the last piece cut, held by expat
    bool inputEnded = false;
    bool suspended = false;
    bool finished = false;
};

// Reads a whole document into `handler`: empty when it is well-formed, else what is wrong and where.
std::string ReadXml(XmlInput& input, XmlHandler& handler);

} // namespace AnalysisApp
