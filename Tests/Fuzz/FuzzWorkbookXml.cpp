#include "FuzzCheck.hpp"
#include "Spreadsheet/SpreadsheetPackage.hpp"
#include "Xml/XmlReader.hpp"

#include <expat.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The XML reader that reads a workbook's parts, fed the bytes of one part. Read in pieces of a few
// bytes, as parts come out of the zip, and paused at the end of every element, as sheets are read row
// by row, it gives the same verdict, exactly the events of a well-formed whole, and stays at its end.
// Its verdict is expat's own on the whole document, run plainly, except where the reader refuses more
// than XML does (a DTD, a name whose colon namespaces cannot read, its limits). Sheet cell references
// ride along, as every cell of a sheet passes one.
namespace {

bool ExpatFindsWellFormed(std::string_view document) {
    XML_Parser parser = XML_ParserCreate("UTF-8");
    const bool wellFormed =
        XML_Parse(parser, document.data(), static_cast<int>(document.size()), 1) == XML_STATUS_OK;
    XML_ParserFree(parser);
    return wellFormed;
}

bool IsOwnRefusal(const std::string& error) {
    for (const char* refusal : {"(DTD)", "no qualified name", "deeper than", "attributes on one element",
                                "token longer than", "parser memory"}) {
        if (error.find(refusal) != std::string::npos) {
            return true;
        }
    }
    return false;
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

// Every event as text, a run of character data joined; pauses at every end when asked to.
class Recorder final : public AnalysisApp::XmlHandler {
public:
    AnalysisApp::XmlReader* pausing = nullptr;
    std::vector<std::string> events;

    void StartElement(std::string_view name, const AnalysisApp::XmlAttributes& attributes) override {
        FUZZ_REQUIRE(!name.empty(), "an element has a name");
        FUZZ_REQUIRE(name.find(':') == std::string_view::npos, "names lose their prefix");
        std::string event = "<" + std::string(name);
        for (std::size_t index = 0; index < attributes.Count(); ++index) {
            const auto [key, value] = attributes[index];
            FUZZ_REQUIRE(key.find(':') == std::string_view::npos, "attribute names lose their prefix");
            event += "|" + std::string(key) + "=" + std::string(value);
        }
        Add(event);
        if (const std::string_view reference = attributes.Value("r"); !reference.empty()) {
            (void)AnalysisApp::ColumnOfReference(reference);
        }
    }
    void EndElement(std::string_view name) override {
        Add("/" + std::string(name));
        if (pausing != nullptr) {
            pausing->Pause();
        }
    }
    void Text(std::string_view text) override {
        if (!inText) {
            events.emplace_back("#");
        }
        events.back() += text;
        inText = true;
    }

private:
    void Add(std::string event) {
        events.push_back(std::move(event));
        inText = false;
    }
    bool inText = false;
};

std::vector<std::string> Read(std::string_view document, std::size_t pieceSize, bool pause,
                              std::string& error) {
    Pieces pieces(document, pieceSize);
    Recorder recorder;
    AnalysisApp::XmlReader reader(pieces, recorder);
    recorder.pausing = pause ? &reader : nullptr;
    AnalysisApp::XmlReader::Status status = reader.Read();
    std::size_t pauses = 0;
    for (; status == AnalysisApp::XmlReader::Status::Paused; status = reader.Read()) {
        FUZZ_REQUIRE(++pauses <= document.size(), "every pause is at the end of an element");
    }
    FUZZ_REQUIRE(reader.Read() == status, "after the end the reader stays there");
    FUZZ_REQUIRE((status == AnalysisApp::XmlReader::Status::Failed) == !reader.Error().empty(),
                 "a refusal says why");
    error = reader.Error();
    return recorder.events;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view document(reinterpret_cast<const char*>(data), size);
    std::string error;
    const std::vector<std::string> whole = Read(document, size + 1, false, error);
    std::string piecewiseError;
    const std::vector<std::string> piecewise = Read(document, 1 + size % 7, true, piecewiseError);
    // Before a fault, expat may or may not have handed out the text in front of it, and in garbage it
    // may place the fault a byte or two apart (and so name it otherwise), as pieces cut the bytes around
    // it; the unit tests hold real faults to one place and name in any pieces.
    FUZZ_REQUIRE(piecewiseError.empty() == error.empty() && (!error.empty() || piecewise == whole),
                 "pieces and pauses give the events and the verdict of the whole");
    if (error.empty() || !IsOwnRefusal(error)) {
        FUZZ_REQUIRE(error.empty() == ExpatFindsWellFormed(document),
                     "well-formed exactly when expat finds the document well-formed");
    }
    (void)AnalysisApp::ResolvePartPath(document.substr(0, size / 2), document.substr(size / 2));
    return 0;
}
