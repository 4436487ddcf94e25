#include "Xml/XmlPullParser.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using AnalysisApp::XmlEventKind;

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

// Start, End and Text events as "<name a=v>", "</name>" and the text, up to Done or Error.
std::vector<std::string> EventsOf(AnalysisApp::XmlPullParser& parser) {
    std::vector<std::string> events;
    for (AnalysisApp::XmlEvent event = parser.Next();; event = parser.Next()) {
        switch (event.kind) {
        case XmlEventKind::Start: {
            std::string start = "<" + event.name;
            for (const auto& [key, value] : event.attributes) {
                start += " " + key + "=" + value;
            }
            events.push_back(start + ">");
            break;
        }
        case XmlEventKind::End:
            events.push_back("</" + event.name + ">");
            break;
        case XmlEventKind::Text:
            events.push_back(event.text);
            break;
        case XmlEventKind::Error:
            events.push_back("error: " + event.text);
            return events;
        case XmlEventKind::Done:
            return events;
        }
    }
}

std::vector<std::string> Events(std::string_view xml) {
    AnalysisApp::XmlPullParser parser(xml);
    return EventsOf(parser);
}

// A document read in pieces gives exactly the events of the whole, wherever the pieces break it:
// inside names, attribute values, entities, comments, CDATA and text; errors at the same byte.
TEST(XmlPullParser, PiecesOfAnySizeGiveTheEventsOfTheWhole) {
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
    };
    for (const std::string& document : documents) {
        const std::vector<std::string> whole = Events(document);
        for (const std::size_t size : {1u, 2u, 3u, 4u, 5u, 7u, 64u}) {
            Pieces pieces(document, size);
            AnalysisApp::XmlPullParser parser(pieces);
            EXPECT_EQ(EventsOf(parser), whole) << "pieces of " << size << " of " << document;
        }
    }
}

// A cell's plain content is taken in one step; anything else is left for the events, untouched.
TEST(XmlPullParser, PlainCellContentIsReadInOneStepAndAnythingElseIsLeftAlone) {
    const std::string sheet =
        "<row><c><v>1.5</v></c><c t=\"inlineStr\"><is><t>a &amp; b</t></is></c>"
        "<c><v>2</v><f>A1</f></c><c t=\"inlineStr\"><is><t xml:space=\"preserve\"> x</t></is></c>"
        "<c/></row>";
    AnalysisApp::XmlPullParser parser(sheet);
    std::vector<std::string> seen;
    std::string text;
    const AnalysisApp::XmlPlainRun value("<v>", "</v></c>");
    const AnalysisApp::XmlPlainRun inlineString("<is><t>", "</t></is></c>");
    for (const AnalysisApp::XmlEvent* event = &parser.NextEvent(); event->kind != XmlEventKind::Done;
         event = &parser.NextEvent()) {
        ASSERT_NE(event->kind, XmlEventKind::Error) << event->text;
        if (event->kind == XmlEventKind::Start && event->name == "c") {
            const bool isValue = parser.ReadPlainContent(value, text);
            const bool isInline = !isValue && parser.ReadPlainContent(inlineString, text);
            seen.push_back(isValue ? "value " + text : isInline ? "inline " + text : "events");
        }
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"value 1.5", "inline a & b", "events", "events", "events"}));
}

// A run is taken only when the input holds exactly its tags around plain text and its closing tags end
// what it opened and then the innermost open elements; a run not of that form never matches. What is
// left is read by the events, which report any fault.
TEST(XmlPullParser, APlainRunIsTakenOnlyWhereItsTagsAndTheOpenElementsAgree) {
    const struct {
        std::string open;
        std::string close;
        std::string content;
        std::string result; // the text taken, or "events" and what the events give next
    } cases[] = {
        {"<v>", "</v></c>", "<v>1.5</v></c>", "1.5"},
        {"<v>", "</v>", "<v>1.5</v></c>", "1.5"},
        {"<v>", "</v></c>", "<v>a &amp; b&#x41;</v></c>", "a & bA"},
        {"<v>", "</v></c></row>", "<v>1</v></c></row>", "1"},
        {"<v>", "</v></c></row></x>", "<v>1</v></c></row></x>", "events <v>"},
        {"<v>", "</v></x>", "<v>1</v></x>", "events <v>"},
        {"<v>", "</v></c>", "<v>1</v></c >", "events <v>"},
        {"<v>", "</v></c>", "<v>a]]>b</v></c>", "events <v>"},
        {"<v>", "</v></c>", "<v>0123456789abcdef]]></v></c>", "events <v>"},
        {"<v>", "</v></c>", "<v>01234567]]</v></c>", "01234567]]"},
        {"<v>", "</v></c>", "<v>abcdefgh&amp;</v></c>", "abcdefgh&"},
        {"<v>", "</v></c>", "<v>0123456789abcdef</v></c>", "0123456789abcdef"},
        {"<v>", "</v></c>", "<v>&bogus;</v></c>", "events <v>"},
        {"<v>", "</v></c>", "<v>\x01</v></c>", "events <v>"},
        {"<v>", "</v></c>", "<v>\xC3</v></c>", "events <v>"},
        {"<v x='1'>", "</v></c>", "<v x='1'>1</v></c>", "events <v x=1>"},
        {"<v>", "", "<v>1</v></c>", "events <v>"},
        {"", "</c>", "1</c>", "events 1"},
        {"<v>", "</w></c>", "<v>1</w></c>", "events <v>"},
    };
    for (const auto& [open, close, content, result] : cases) {
        const std::string document = "<row><c>" + content + "</row>";
        AnalysisApp::XmlPullParser parser(document);
        parser.NextEvent();
        parser.NextEvent();
        std::string text = "left over";
        const bool taken = parser.ReadPlainContent(AnalysisApp::XmlPlainRun(open, close), text);
        const std::string seen = taken ? text : "events " + EventsOf(parser).front();
        EXPECT_EQ(seen, result) << open << " " << close << " on " << content;
        if (!taken) {
            EXPECT_EQ(text, "") << content;
        }
    }
}

TEST(XmlPullParser, AFailingInputEndsInAnErrorThatNamesIt) {
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
    AnalysisApp::XmlPullParser parser(broken);
    EXPECT_EQ(EventsOf(parser), (std::vector<std::string>{"<a>", "<b>",
                                                          "error: the document cannot be read: "
                                                          "part.xml: CRC-32 does not match at byte 6"}));
}

TEST(XmlPullParser, ReadsElementsAttributesAndTextWithoutPrefixes) {
    EXPECT_EQ(Events("<?xml version=\"1.0\"?><x:row r='2' x:spans=\"1:3\"><x:c/>text</x:row>"),
              (std::vector<std::string>{"<row r=2 spans=1:3>", "<c>", "</c>", "text", "</row>"}));
}

TEST(XmlPullParser, DecodesEntitiesAndCharacterReferences) {
    EXPECT_EQ(Events("<t a=\"&quot;&amp;\">&lt;&gt;&apos;&#65;&#x42;&#xE9;&#x1F600;</t>"),
              (std::vector<std::string>{"<t a=\"&>", "<>'AB\xC3\xA9\xF0\x9F\x98\x80", "</t>"}));
}

TEST(XmlPullParser, SkipsTheDeclarationCommentsAndInstructionsAndKeepsCdataAsText) {
    EXPECT_EQ(
        Events("\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<!-- a <b> --><?pi x?><t><![CDATA[<&>]]></t> <!--e-->"),
        (std::vector<std::string>{"<t>", "<&>", "</t>"}));
}

// Each document is not well-formed: the parser stops at the fault with what is wrong and where, and
// the same document read in small pieces stops there too. The last rows are well-formed look-alikes.
TEST(XmlPullParser, AcceptsOnlyWellFormedDocuments) {
    const struct {
        std::string document;
        std::string error; // empty: well-formed
    } cases[] = {
        {"<a><b></a>", "end tag </a> where </b> belongs at byte 6"},
        {"<sheetData><row/>", "element <sheetData> is not closed at byte 17"},
        {"<a><row><<<&&</row></a>", "an element name that is no XML name at byte 9"},
        {"<a/>text", "text after the root element at byte 4"},
        {"<a/><b/>", "a second root element at byte 4"},
        {"x<a/>", "text before the root element at byte 0"},
        {"", "no root element at byte 0"},
        {"<a>&#0;</a>", "bad entity reference at byte 3"},
        {"<a>&#xD800;</a>", "bad entity reference at byte 3"},
        {"<a>&nbsp;</a>", "bad entity reference at byte 3"},
        {"<a>&amp</a>", "bad entity reference at byte 3"},
        {"<!DOCTYPE a [<!ENTITY e 'x'>]><a>&e;</a>",
         "a document type declaration (DTD), which is not allowed at byte 0"},
        {"<a>\x1B[31m</a>", "a byte that is no legal character at byte 3"},
        {"<a>\xC3</a>", "a byte that is no legal character at byte 3"},
        {"<a>\xED\xA0\x80</a>", "a byte that is no legal character at byte 3"},
        {"<a>\xEF\xBF\xBF</a>", "a byte that is no legal character at byte 3"},
        {"<a>\xE2\x82</a>", "a byte that is no legal character at byte 3"},
        {"<a>" + std::string(20, 'x') + "\x7F\x1F</a>", "a byte that is no legal character at byte 24"},
        {"<a b='\xF0\x9F\x98'/>", "a byte that is no legal character at byte 6"},
        {"<a>\xC3\xA9</a><!--\xE2\x82-->", "a byte that is no legal character at byte 13"},
        {"<a x='1' x='2'/>", "an attribute given twice at byte 0"},
        {"<a x='1'y='2'/>", "malformed attribute at byte 8"},
        {"<a x='<'/>", "\"<\" in an attribute value at byte 5"},
        {"<a>]]></a>", "\"]]>\" in text at byte 3"},
        {"<a><!-- x -- y --></a>", "\"--\" inside a comment at byte 10"},
        {"<a/><?xml version='1.0'?>", "an XML declaration that is not at the start at byte 4"},
        {"<![CDATA[x]]><a/>", "a CDATA section outside the root element at byte 0"},
        {"<a><si:/></a>", "an element name with a colon that is no qualified name at byte 4"},
        {"<a :x='1'/>", "an attribute name with a colon that is no qualified name at byte 3"},
        {"<a></a >", ""},
        {"<x:a xmlns:x='u'><x:b/></x:a>", ""},
        {"<a>\xF0\x9F\x98\x80 &#x10FFFF;</a>", ""},
    };
    for (const auto& [document, error] : cases) {
        const std::vector<std::string> events = Events(document);
        const std::string last = events.empty() ? "" : events.back();
        if (error.empty()) {
            EXPECT_EQ(last.rfind("error", 0), std::string::npos) << document << ": " << last;
        } else {
            EXPECT_EQ(last, "error: " + error) << document;
        }
        Pieces pieces(document, 2);
        AnalysisApp::XmlPullParser parser(pieces);
        EXPECT_EQ(EventsOf(parser), events) << document;
    }
}

TEST(XmlPullParser, DamagedInputEndsInAnErrorWithItsOffset) {
    EXPECT_EQ(Events("<t>&bogus;</t>").back(), "error: bad entity reference at byte 3");
    EXPECT_EQ(Events("<t a=1>").back(), "error: attribute value without quotes at byte 5");
    EXPECT_EQ(Events("<t a=\"1>").back(), "error: unterminated attribute value at byte 5");
    EXPECT_EQ(Events("<!-- never closed").back(), "error: unterminated comment at byte 0");
    EXPECT_EQ(Events("<t a='1'").back(), "error: unterminated start tag at byte 8");
    EXPECT_EQ(Events("<>").back(), "error: element without a name at byte 1");
}

// Every prefix of a realistic part must end in Done or Error without reading past its end (the
// sanitizer build proves the second half).
TEST(XmlPullParser, EveryTruncationEndsCleanly) {
    const std::string xml = "<?xml version=\"1.0\"?><sst><si><r><t xml:space=\"preserve\">a &amp; b</t></r>"
                            "<rPh><t>x</t></rPh></si><!-- c --><si><t><![CDATA[d]]></t></si></sst>";
    for (std::size_t length = 0; length <= xml.size(); ++length) {
        AnalysisApp::XmlPullParser parser(std::string_view(xml).substr(0, length));
        std::size_t steps = 0;
        for (AnalysisApp::XmlEvent event = parser.Next();
             event.kind != XmlEventKind::Done && event.kind != XmlEventKind::Error; event = parser.Next()) {
            ASSERT_LT(++steps, xml.size()) << "no progress at length " << length;
        }
    }
}

} // namespace
