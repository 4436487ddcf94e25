#include "FuzzCheck.hpp"
#include "Spreadsheet/SpreadsheetPackage.hpp"
#include "Xml/XmlPullParser.hpp"

#include <expat.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The XML pull parser that reads a workbook's parts, fed the bytes of one part: it ends in Done or
// Error after at most one event per input byte (plus the end tag of a self-closing element), and
// stays there. Read in pieces of a few bytes, as parts are read out of the zip, it gives exactly the
// same events. Sheet cell references ride along, as every cell of a sheet passes one. Its verdict,
// well-formed or not, is expat's wherever the two are meant to agree: documents of ASCII bytes (the
// parser takes every character beyond ASCII as a name character), without an XML declaration at the
// start (whose pseudo-attributes it does not check) or a document type declaration (which it
// refuses), within its limits of depth and attributes, and where it did not refuse a name that
// namespaces cannot read ("a:", which plain XML allows).
namespace {

bool ExpatFindsWellFormed(std::string_view document) {
    XML_Parser parser = XML_ParserCreate("UTF-8");
    const bool wellFormed =
        XML_Parse(parser, document.data(), static_cast<int>(document.size()), 1) == XML_STATUS_OK;
    XML_ParserFree(parser);
    return wellFormed;
}

bool ExpatIsAnOracleFor(std::string_view document, const AnalysisApp::XmlEvent& last) {
    const bool ascii = std::all_of(document.begin(), document.end(),
                                   [](char byte) { return static_cast<unsigned char>(byte) < 0x80; });
    const bool overLimit = last.kind == AnalysisApp::XmlEventKind::Error &&
                           (last.text.find("deeper than") != std::string::npos ||
                            last.text.find("attributes on one element") != std::string::npos ||
                            last.text.find("no qualified name") != std::string::npos);
    return ascii && !overLimit && document.substr(0, 5) != "<?xml" &&
           document.find("<!DOCTYPE") == std::string_view::npos;
}

class Pieces final : public AnalysisApp::XmlInput {
public:
    Pieces(std::string_view text, std::size_t size) : rest(text), pieceSize(size) {}
    bool ReadMore(std::string& out) override {
        if (rest.empty()) {
            return false;
        }
        out.append(rest.substr(0, pieceSize));
        rest.remove_prefix(std::min(pieceSize, rest.size()));
        return true;
    }
    std::string Failure() const override { return {}; }

private:
    std::string_view rest;
    std::size_t pieceSize;
};

std::string Describe(const AnalysisApp::XmlEvent& event) {
    std::string text = std::to_string(static_cast<int>(event.kind)) + event.name + "|" + event.text;
    for (const auto& [key, value] : event.attributes) {
        text += "|" + key + "=" + value;
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view document(reinterpret_cast<const char*>(data), size);
    AnalysisApp::XmlPullParser parser(document);
    Pieces pieces(document, 1 + size % 7);
    AnalysisApp::XmlPullParser piecewise(pieces);
    std::size_t events = 0;
    AnalysisApp::XmlEvent event;
    for (;;) {
        event = parser.Next();
        FUZZ_REQUIRE(Describe(piecewise.Next()) == Describe(event), "pieces give the events of the whole");
        if (event.kind == AnalysisApp::XmlEventKind::Done || event.kind == AnalysisApp::XmlEventKind::Error) {
            break;
        }
        FUZZ_REQUIRE(++events <= 2 * size + 2, "the parser moves forward with every event");
        if (event.kind == AnalysisApp::XmlEventKind::Start) {
            FUZZ_REQUIRE(!event.name.empty(), "an element has a name");
            FUZZ_REQUIRE(event.name.find(':') == std::string::npos, "names lose their prefix");
            if (const std::string reference = event.Attribute("r"); !reference.empty()) {
                (void)AnalysisApp::ColumnOfReference(reference);
            }
        }
    }
    FUZZ_REQUIRE(parser.Next().kind == event.kind, "after Done or Error the parser stays there");
    if (ExpatIsAnOracleFor(document, event)) {
        FUZZ_REQUIRE((event.kind == AnalysisApp::XmlEventKind::Done) == ExpatFindsWellFormed(document),
                     "well-formed exactly when expat finds the document well-formed");
    }
    (void)AnalysisApp::ResolvePartPath(document.substr(0, size / 2), document.substr(size / 2));
    return 0;
}
