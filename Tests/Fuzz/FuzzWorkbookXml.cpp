#include "FuzzCheck.hpp"
#include "SpreadsheetPackage.hpp"
#include "XmlPullParser.hpp"

#include <cstddef>
#include <cstdint>
#include <string_view>

// The XML pull parser that reads a workbook's parts, fed the bytes of one part: it ends in Done or
// Error after at most one event per input byte (plus the end tag of a self-closing element), and
// stays there. Sheet cell references ride along, as every cell of a sheet passes one.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view document(reinterpret_cast<const char*>(data), size);
    AnalysisApp::XmlPullParser parser(document);
    std::size_t events = 0;
    AnalysisApp::XmlEvent event;
    for (;;) {
        event = parser.Next();
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
    (void)AnalysisApp::ResolvePartPath(document.substr(0, size / 2), document.substr(size / 2));
    return 0;
}
