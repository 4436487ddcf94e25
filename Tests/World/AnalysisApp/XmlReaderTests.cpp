#include "Xml/XmlReader.hpp"

#include <gtest/gtest.h>

#include <new>
#include <string>
#include <vector>

namespace {

using AnalysisApp::XmlReader;

// Hands a document over in pieces of a fixed size.
class Pieces final : public AnalysisApp::XmlInput {
public:
    Pieces(std::string_view text, std::size_t size) : document(text), pieceSize(size) {}
    bool ReadMore(std::string& out) override {
        if (document.empty()) {
            return false;
        }
        const std::string_view piece = document.substr(0, pieceSize);
        out.append(piece);
        document.remove_prefix(piece.size());
        return true;
    }
    std::string Failure() const override { return {}; }

private:
    std::string_view document;
    std::size_t pieceSize;
};

// Start, End and Text as "<name a=v>", "</name>" and the text (a run's pieces joined), then "error: ..."
// when the document is refused. `pauseAt` pauses the reader at each end of that element, as the
// worksheet reader does at each row; the events must not notice.
class Recorder final : public AnalysisApp::XmlHandler {
public:
    explicit Recorder(std::string pauseElement = {}) : pauseAt(std::move(pauseElement)) {}
    XmlReader* reader = nullptr;
    std::vector<std::string> events;
    bool inText = false;

    void StartElement(std::string_view name, const AnalysisApp::XmlAttributes& attributes) override {
        std::string start = "<" + std::string(name);
        for (std::size_t index = 0; index < attributes.Count(); ++index) {
            const auto [key, value] = attributes[index];
            start += " " + std::string(key) + "=" + std::string(value);
        }
        Add(start + ">");
    }
    void EndElement(std::string_view name) override {
        Add("</" + std::string(name) + ">");
        if (name == pauseAt) {
            reader->Pause();
        }
    }
    void Text(std::string_view text) override {
        if (!inText) {
            events.emplace_back();
        }
        events.back() += text;
        inText = true;
    }

private:
    void Add(std::string event) {
        events.push_back(std::move(event));
        inText = false;
    }
    std::string pauseAt;
};

std::vector<std::string> EventsOf(AnalysisApp::XmlInput& input, const std::string& pauseAt = {}) {
    Recorder recorder(pauseAt);
    XmlReader reader(input, recorder);
    recorder.reader = &reader;
    std::size_t pauses = 0;
    XmlReader::Status status = reader.Read();
    for (; status == XmlReader::Status::Paused; status = reader.Read()) {
        ++pauses;
    }
    if (status == XmlReader::Status::Failed) {
        recorder.events.push_back("error: " + reader.Error());
    }
    EXPECT_EQ(reader.Read(), status) << "after the end, the same again";
    if (pauseAt.empty()) {
        EXPECT_EQ(pauses, 0u);
    }
    return recorder.events;
}

std::vector<std::string> Events(std::string_view xml) {
    Pieces whole(xml, xml.size() + 1);
    return EventsOf(whole);
}

// The last event: the error, or the last thing read.
std::string Verdict(std::string_view xml) {
    const std::vector<std::string> events = Events(xml);
    return events.empty() ? "" : events.back();
}

// A document read in pieces, or paused at every end of an element, gives exactly the events of the
// whole, wherever the pieces break it: inside names, attribute values, references, comments, CDATA,
// characters and text; errors at the same byte.
TEST(XmlReader, PiecesOfAnySizeAndPausesGiveTheEventsOfTheWhole) {
    const std::string documents[] = {
        "<?xml version=\"1.0\"?>\n<!-- note --><x:worksheet xmlns:x=\"u\"><x:sheetData><x:row r=\"1\">"
        "<x:c r=\"A1\" t=\"inlineStr\"><x:is><x:t>a &amp; b &#x41;</x:t></x:is></x:c><x:c "
        "r=\"B1\"><x:v>1.5</x:v>"
        "</x:c></x:row><x:row r=\"2\"/><![CDATA[<raw>]]></x:sheetData></x:worksheet>",
        "<!DOCTYPE a [<!ENTITY e \"x\">]><a b='c'>text<b/>tail</a>",
        "<a><b attr=\"unterminated></a>",
        "<a>&bogus;</a>",
        "<a><b></a",
        "<a t='\xE2\x82\xAC'>\xF0\x9F\x98\x80 \xC3\xA9</a>",
        "<a>\xF0\x9F\x98\x80 \xE2\x82</a>",
        "<a><b><c/></b><b></c></a>",
    };
    for (const std::string& document : documents) {
        const std::vector<std::string> whole = Events(document);
        for (const std::size_t size : {1u, 2u, 3u, 4u, 5u, 7u, 64u}) {
            Pieces pieces(document, size);
            EXPECT_EQ(EventsOf(pieces), whole) << "pieces of " << size << " of " << document;
            for (const std::string pauseAt : {"b", "c", "x:c"}) {
                Pieces paused(document, size);
                EXPECT_EQ(EventsOf(paused, pauseAt), whole) << "pauses at " << pauseAt << ", " << document;
            }
        }
    }
}

TEST(XmlReader, AFailingInputEndsInAnErrorThatNamesIt) {
    class Broken final : public AnalysisApp::XmlInput {
    public:
        bool ReadMore(std::string& out) override {
            if (calls++ > 0) {
                return false;
            }
            out += "<a><b>some";
            return true;
        }
        std::string Failure() const override { return calls > 1 ? "part.xml: CRC-32 does not match" : ""; }

    private:
        int calls = 0;
    } broken;
    EXPECT_EQ(EventsOf(broken), (std::vector<std::string>{"<a>", "<b>", "some",
                                                          "error: the document cannot be read: "
                                                          "part.xml: CRC-32 does not match at byte 10"}));
}

TEST(XmlReader, ReadsElementsAttributesAndTextWithoutPrefixes) {
    EXPECT_EQ(Events("<?xml version=\"1.0\"?><x:row xmlns:x='u' r='2' x:spans=\"1:3\"><x:c/>text</x:row>"),
              (std::vector<std::string>{"<row x=u r=2 spans=1:3>", "<c>", "</c>", "text", "</row>"}));
}

TEST(XmlReader, DecodesEntitiesAndCharacterReferences) {
    EXPECT_EQ(Events("<t a=\"&quot;&amp;\">&lt;&gt;&apos;&#65;&#x42;&#xE9;&#x1F600;</t>"),
              (std::vector<std::string>{"<t a=\"&>", "<>'AB\xC3\xA9\xF0\x9F\x98\x80", "</t>"}));
}

TEST(XmlReader, SkipsTheDeclarationCommentsAndInstructionsAndKeepsCdataAsText) {
    EXPECT_EQ(
        Events("\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<!-- a <b> --><?pi x?><t><![CDATA[<&>]]></t> <!--e-->"),
        (std::vector<std::string>{"<t>", "<&>", "</t>"}));
}

// Each document is not well-formed: the reader stops at the fault with what is wrong and where, and
// the same document read in small pieces stops there too. The last rows are well-formed look-alikes.
TEST(XmlReader, AcceptsOnlyWellFormedDocuments) {
    const std::string ascii40(40, 'x');
    const struct {
        std::string document;
        std::string error; // empty: well-formed
    } cases[] = {
        {"<a><b></a>", "end tag </a> where </b> belongs at byte 6"},
        {"<x:a xmlns:x='u'><x:b></x:c></x:a>", "end tag </x:c> where </x:b> belongs at byte 22"},
        {"<sheetData><row/>", "element <sheetData> is not closed at byte 17"},
        {"<a><row><<<&&</row></a>", "an element name that is no XML name at byte 9"},
        {"<>", "an element name that is no XML name at byte 1"},
        {"<a/>text", "text after the root element at byte 4"},
        {"<a/> &amp;", "text after the root element at byte 5"},
        {"<a/><b/>", "a second root element at byte 4"},
        {"<a/></a>", "an end tag without its element at byte 5"},
        {"x<a/>", "text before the root element at byte 1"},
        {"", "no root element at byte 0"},
        {"  ", "no root element at byte 2"},
        {"<a>&#0;</a>", "bad entity reference at byte 3"},
        {"<a>&#xD800;</a>", "bad entity reference at byte 3"},
        {"<a>&nbsp;</a>", "bad entity reference at byte 3"},
        {"<a>no &#1;name</a>", "bad entity reference at byte 6"},
        {"<a>&amp</a>", "malformed markup at byte 7"},
        {"<!DOCTYPE a [<!ENTITY e 'x'>]><a>&e;</a>",
         "a document type declaration (DTD), which is not allowed at byte 0"},
        {"<?xml version='1.0'?>\n<!-- c --><!DOCTYPE a><a/>",
         "a document type declaration (DTD), which is not allowed at byte 32"},
        // Characters: control characters, broken UTF-8, surrogates, U+FFFE and U+FFFF, overlong forms
        // and code points beyond U+10FFFF, wherever they stand.
        {"<a>\x1B[31m</a>", "a byte that is no legal character at byte 3"},
        {"<a>\xC3</a>", "a byte that is no legal character at byte 3"},
        {"<a>\xED\xA0\x80</a>", "a byte that is no legal character at byte 3"},
        {"<a>\xEF\xBF\xBF</a>", "a byte that is no legal character at byte 3"},
        {"<a>x\xEF\xBF\xBE</a>", "a byte that is no legal character at byte 4"},
        {"<a>\xE2\x82</a>", "a byte that is no legal character at byte 3"},
        {"<a>\xC0\x80</a>", "a byte that is no legal character at byte 3"},
        {"<a>\xF4\x90\x80\x80</a>", "a byte that is no legal character at byte 3"},
        {"<a>\xF5\x80\x80\x80</a>", "a byte that is no legal character at byte 3"},
        {"<a>" + std::string(20, 'x') + "\x7F\x1F</a>", "a byte that is no legal character at byte 24"},
        {"<a>" + ascii40 + "\x80" + "</a>", "a byte that is no legal character at byte 43"},
        {"<a b='\xF0\x9F\x98'/>", "a byte that is no legal character at byte 6"},
        {"<a>\xC3\xA9</a><!--\xE2\x82-->", "a byte that is no legal character at byte 13"},
        {"<a/>\x01", "a byte that is no legal character at byte 4"},
        {"<a>\xE2\x82", "a byte that is no legal character at byte 3"},
        {"<a x='1' x='2'/>", "an attribute given twice at byte 9"},
        {"<a x='1'y='2'/>", "malformed markup at byte 8"},
        {"<a x='<'/>", "malformed markup at byte 6"},
        {"<a>]]></a>", "malformed markup at byte 5"},
        {"<a><!-- x -- y --></a>", "malformed markup at byte 12"},
        {"<a/><?xml version='1.0'?>", "an XML declaration that is not at the start at byte 4"},
        {"<![CDATA[x]]><a/>", "a CDATA section outside the root element at byte 0"},
        {"<a/><![CDATA[x]]>", "a CDATA section outside the root element at byte 4"},
        {"<a><si:/></a>", "an element name with a colon that is no qualified name at byte 4"},
        {"<a :x='1'/>", "an attribute name with a colon that is no qualified name at byte 0"},
        {"<a x:y:z='1'/>", "an attribute name with a colon that is no qualified name at byte 0"},
        {"<t a=1>", "malformed markup at byte 5"},
        {"<t a=\"1>", "unterminated start tag at byte 0"},
        {"<worksheet><sheetData><row r=\"1>", "unterminated start tag at byte 22"},
        {"<a></a", "unterminated end tag at byte 3"},
        {"<!-- never closed", "unterminated comment at byte 0"},
        {"<a><![CDATA[x", "unterminated CDATA section at byte 13"},
        {"<a><?pi x", "unterminated processing instruction at byte 3"},
        {"<a></a >", ""},
        {"<x:a xmlns:x='u'><x:b/></x:a>", ""},
        {"<a>\xF0\x9F\x98\x80 &#x10FFFF;\xF4\x8F\xBF\xBF\t\r\n\x7F</a>", ""},
        {"\xEF\xBB\xBF<a/>", ""},
    };
    for (const auto& [document, error] : cases) {
        const std::vector<std::string> events = Events(document);
        const std::string last = events.empty() ? "" : events.back();
        if (error.empty()) {
            EXPECT_EQ(last.rfind("error", 0), std::string::npos) << document << ": " << last;
        } else {
            EXPECT_EQ(last, "error: " + error) << testing::PrintToString(document);
        }
        Pieces pieces(document, 2);
        EXPECT_EQ(EventsOf(pieces), events) << document;
    }
}

// Nesting and attributes are limited where no workbook comes near; at the limit all is read.
TEST(XmlReader, RefusesDeepNestingAndManyAttributes) {
    std::string deepest;
    for (int depth = 0; depth < 1024; ++depth) {
        deepest += "<a>";
    }
    std::string closing;
    for (int depth = 0; depth < 1024; ++depth) {
        closing += "</a>";
    }
    EXPECT_EQ(Verdict(deepest + closing), "</a>");
    EXPECT_EQ(Verdict(deepest + "<b/>" + closing), "error: elements nested deeper than 1024 at byte 3072");
    std::string attributes;
    for (int index = 0; index < 1024; ++index) {
        attributes += " a" + std::to_string(index) + "='1'";
    }
    EXPECT_EQ(Verdict("<a" + attributes + "/>"), "</a>");
    EXPECT_EQ(Verdict("<r><a" + attributes + " z='1'/></r>"),
              "error: more than 1024 attributes on one element at byte 3");
}

// A token of at most 4 MiB is read, whatever the pieces; one longer is refused where it begins,
// before it is held whole. A run of text is streamed, and limited alike.
TEST(XmlReader, RefusesATokenLongerThanFourMiB) {
    constexpr std::size_t limit = std::size_t{4} << 20;
    // "<b x='", the value, "'/>": a start tag of 9 bytes and its value, from byte 3.
    const std::string fits = "<a><b x='" + std::string(limit - 9, 'v') + "'/></a>";
    const std::string tooLong = "<a><b x='" + std::string(limit - 8, 'v') + "'/></a>";
    const std::string comment = "<a><!--" + std::string(limit, 'c') + "--></a>";
    const std::string text = "<a>" + std::string(limit + 1, 't') + "</a>";
    for (const std::size_t size : {std::size_t{65536}, std::size_t{1000}, limit * 2}) {
        Pieces fitting(fits, size);
        EXPECT_EQ(EventsOf(fitting).back(), "</a>") << size;
        Pieces long1(tooLong, size);
        EXPECT_EQ(EventsOf(long1).back(), "error: a token longer than 4 MiB at byte 3") << size;
        Pieces long2(comment, size);
        EXPECT_EQ(EventsOf(long2).back(), "error: a token longer than 4 MiB at byte 3") << size;
        Pieces long3(text, size);
        const std::string error = EventsOf(long3).back();
        EXPECT_EQ(error.rfind("error: a token longer than 4 MiB at byte ", 0), 0u) << size << error;
    }
}

// The parser's own memory is limited: its tables of element and attribute names grow with every new
// name, which a document can make without end.
TEST(XmlReader, RefusesADocumentWhoseNamesOutgrowTheParsersMemory) {
    std::string names = "<a>";
    for (int index = 0; names.size() < (std::size_t{32} << 20); ++index) {
        names += "<n" + std::to_string(index) + " m" + std::to_string(index) + "='1'/>";
    }
    names += "</a>";
    Pieces pieces(names, 65536);
    const std::string error = EventsOf(pieces).back();
    EXPECT_EQ(error.rfind("error: more than 64 MiB of parser memory", 0), 0u) << error;
}

// Whatever the handler throws (running out of memory) comes out of Read, through expat, untouched.
TEST(XmlReader, WhatTheHandlerThrowsComesOutOfRead) {
    class Throwing final : public AnalysisApp::XmlHandler {
    public:
        void StartElement(std::string_view name, const AnalysisApp::XmlAttributes&) override {
            if (name == "b") {
                throw std::bad_alloc();
            }
        }
    } throwing;
    Pieces pieces("<a><b/></a>", 100);
    XmlReader reader(pieces, throwing);
    EXPECT_THROW(reader.Read(), std::bad_alloc);
}

// Every prefix of a realistic part must end in Done or an error without reading past its end (the
// sanitizer build proves the second half).
TEST(XmlReader, EveryTruncationEndsCleanly) {
    const std::string xml = "<?xml version=\"1.0\"?><sst><si><r><t xml:space=\"preserve\">a &amp; b</t></r>"
                            "<rPh><t>x</t></rPh></si><!-- c --><si><t><![CDATA[d]]></t></si></sst>";
    for (std::size_t length = 0; length < xml.size(); ++length) {
        const std::string last = Verdict(std::string_view(xml).substr(0, length));
        EXPECT_EQ(last.rfind("error: ", 0), 0u) << "a cut-off part read whole at length " << length;
    }
    EXPECT_EQ(Verdict(xml), "</sst>");
}

} // namespace
