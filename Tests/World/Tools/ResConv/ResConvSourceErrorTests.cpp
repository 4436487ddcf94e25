#include "Compiler.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using ResConv::CompileSources;
using ResConv::SourceText;

// What ResConv prints for the sources; each error test also proves that nothing was written.
std::string ErrorsFor(const std::vector<SourceText>& sources) {
    const ResConv::Compilation compilation = CompileSources(sources);
    EXPECT_TRUE(compilation.resFile.empty());
    return compilation.diagnostics.Format();
}

std::string ErrorsFor(const std::string& name, const std::string& text) {
    return ErrorsFor({{name, text}});
}

TEST(ResConvHeaderErrors, UnknownKindNamesTheKnownOnes) {
    EXPECT_EQ(ErrorsFor("kind.rsrc", "resource STRX 1 language 1033\ntext \"a\"\n"),
              "kind.rsrc:1: unknown resource kind \"STRX\" (known kinds: DLGH, GSDG, MDID, STRS, ICON, "
              "ICONGROUP, MANIFEST)\n");
}

TEST(ResConvHeaderErrors, NumberWithLettersIsNotANumber) {
    EXPECT_EQ(ErrorsFor("number.rsrc", "resource STRS 32x00 language 1033\ntext \"a\"\n"),
              "number.rsrc:1: \"32x00\" is not a number\n");
}

TEST(ResConvHeaderErrors, NumberBeyondSixtyFourBitsIsTooLarge) {
    EXPECT_EQ(ErrorsFor("huge.rsrc", "resource STRS 99999999999999999999 language 1033\n"),
              "huge.rsrc:1: number 99999999999999999999 is too large\n");
}

TEST(ResConvHeaderErrors, ResourceNumberWiderThanSixteenBits) {
    EXPECT_EQ(ErrorsFor("wide.rsrc", "resource STRS 70000 language 1033\ntext \"a\"\n"),
              "wide.rsrc:1: resource number 70000 does not fit in 16 bits\n");
}

TEST(ResConvHeaderErrors, StringListNumbersStopWhereTheHostsSignedIdsStop) {
    EXPECT_EQ(
        ErrorsFor("high.rsrc", "resource STRS 40000 language 1033\ntext \"a\"\n"),
        "high.rsrc:1: resource number 40000 is outside 1 to 32767: the host asks for string lists by signed "
        "16-bit numbers\n");
    EXPECT_EQ(
        ErrorsFor("zero.rsrc", "resource STRS 0 language 1033\ntext \"a\"\n"),
        "zero.rsrc:1: resource number 0 is outside 1 to 32767: the host asks for string lists by signed "
        "16-bit numbers\n");
}

TEST(ResConvHeaderErrors, StringListsAreNumberedNotNamed) {
    EXPECT_EQ(ErrorsFor("named.rsrc", "resource STRS \"MESSAGES\" language 1033\ntext \"a\"\n"),
              "named.rsrc:1: STRS resources take a number, not a name\n");
}

TEST(ResConvHeaderErrors, LanguageWiderThanSixteenBits) {
    EXPECT_EQ(ErrorsFor("lang.rsrc", "resource STRS 1 language 70000\ntext \"a\"\n"),
              "lang.rsrc:1: language 70000 does not fit in 16 bits\n");
}

TEST(ResConvHeaderErrors, LanguageOtherThanTheHostsIsRejected) {
    EXPECT_EQ(ErrorsFor("german.rsrc", "resource STRS 1 language 1031\ntext \"a\"\n"),
              "german.rsrc:1: language 1031: the host reads language 1033 only\n");
}

TEST(ResConvHeaderErrors, IncompleteResourceLineShowsTheExpectedShape) {
    EXPECT_EQ(ErrorsFor("short.rsrc", "resource STRS 1\ntext \"a\"\n"),
              "short.rsrc:1: expected \"resource KIND NUMBER language NUMBER\"\n");
}

TEST(ResConvHeaderErrors, SourceWithoutResourceLine) {
    EXPECT_EQ(
        ErrorsFor("empty.rsrc", ""),
        "empty.rsrc:1: no resource line: a source begins with \"resource KIND NUMBER language NUMBER\"\n");
    EXPECT_EQ(ErrorsFor("early.rsrc", "# list\ntext \"a\"\nresource STRS 1 language 1033\n"),
              "early.rsrc:2: \"text\" comes before the resource line\n");
}

TEST(ResConvHeaderErrors, SecondResourceInOneFile) {
    EXPECT_EQ(
        ErrorsFor("two.rsrc", "resource STRS 1 language 1033\ntext \"a\"\nresource STRS 2 language 1033\n"),
        "two.rsrc:3: a second resource line (the first is at line 1): each resource has a source file of its "
        "own\n");
}

TEST(ResConvTextErrors, MissingClosingQuote) {
    EXPECT_EQ(ErrorsFor("quote.rsrc", "resource STRS 1 language 1033\ntext \"OK\n"),
              "quote.rsrc:2: text has no closing quote\n");
    EXPECT_EQ(ErrorsFor("backslash.rsrc", "resource STRS 1 language 1033\ntext \"OK\\\n"),
              "backslash.rsrc:2: text has no closing quote\n");
}

TEST(ResConvTextErrors, EscapesThatDoNotExist) {
    EXPECT_EQ(ErrorsFor("escape.rsrc", "resource STRS 1 language 1033\ntext \"a\\qb\"\n"),
              "escape.rsrc:2: unknown escape \"\\q\" in text\n");
    EXPECT_EQ(ErrorsFor("hex.rsrc", "resource STRS 1 language 1033\ntext \"a\\x4\"\n"),
              "hex.rsrc:2: escape \"\\x\" needs two hex digits\n");
}

TEST(ResConvTextErrors, TextWithNulNamesItemAndField) {
    EXPECT_EQ(ErrorsFor("nul.rsrc", "resource STRS 1 language 1033\ntext \"a\"\ntext \"b\\x00c\"\n"),
              "nul.rsrc:3: string list 1, item 2 (text), field text: holds a NUL byte, which would end the "
              "text early\n");
}

TEST(ResConvTextErrors, RawNulByteInsideQuotesIsANulToo) {
    const std::string source = std::string("resource STRS 1 language 1033\ntext \"b") + '\0' + "c\"\n";
    EXPECT_EQ(ErrorsFor("raw.rsrc", source), "raw.rsrc:2: string list 1, item 1 (text), field text: holds a "
                                             "NUL byte, which would end the text early\n");
}

TEST(ResConvTextErrors, SomethingGluedToTheClosingQuote) {
    EXPECT_EQ(ErrorsFor("glued.rsrc", "resource STRS 1 language 1033\ntext \"a\"b\n"),
              "glued.rsrc:2: unexpected character \"b\" right after the closing quote\n");
}

TEST(ResConvTextErrors, StrayCharacters) {
    EXPECT_EQ(ErrorsFor("at.rsrc", "resource STRS 1 language 1033\ntext @\n"),
              "at.rsrc:2: unexpected character \"@\"\n");
    EXPECT_EQ(ErrorsFor("control.rsrc", "resource STRS 1 language 1033\ntext \x01\n"),
              "control.rsrc:2: unexpected byte 0x01\n");
    EXPECT_EQ(ErrorsFor("unquoted.rsrc", "resource ICON I10001&96 language 1033\n"),
              "unquoted.rsrc:1: unexpected character \"&\"\n");
}

TEST(ResConvRecordErrors, UnknownLineKeywordListsTheKindsKeywords) {
    EXPECT_EQ(ErrorsFor("keyword.rsrc", "resource STRS 1 language 1033\ntxt \"a\"\n"),
              "keyword.rsrc:2: string list 1, item 1: STRS has no \"txt\" lines (it takes: text)\n");
}

TEST(ResConvRecordErrors, LineWithoutKeyword) {
    EXPECT_EQ(ErrorsFor("bare.rsrc", "resource STRS 1 language 1033\n\"a\"\n"),
              "bare.rsrc:2: expected a keyword at the start of the line\n");
}

TEST(ResConvRecordErrors, WrongNumberOfValues) {
    EXPECT_EQ(ErrorsFor("count.rsrc", "resource STRS 1 language 1033\ntext \"a\" \"b\"\n"),
              "count.rsrc:2: string list 1, item 1 (text): \"text\" takes 1 value(s) (text), got 2\n");
    EXPECT_EQ(ErrorsFor("none.rsrc", "resource STRS 1 language 1033\ntext\n"),
              "none.rsrc:2: string list 1, item 1 (text): \"text\" takes 1 value(s) (text), got 0\n");
}

TEST(ResConvRecordErrors, ValueOfTheWrongType) {
    EXPECT_EQ(ErrorsFor("number.rsrc", "resource STRS 1 language 1033\ntext 5\n"),
              "number.rsrc:2: string list 1, item 1 (text), field text: expected a quoted text, got the "
              "number 5\n");
    EXPECT_EQ(
        ErrorsFor("word.rsrc", "resource STRS 1 language 1033\ntext OK\n"),
        "word.rsrc:2: string list 1, item 1 (text), field text: expected a quoted text, got the word OK\n");
}

TEST(ResConvRecordErrors, StringListWithoutTexts) {
    EXPECT_EQ(ErrorsFor("nothing.rsrc", "resource STRS 5 language 1033\n# nothing yet\n"),
              "nothing.rsrc:1: string list 5 has no \"text\" lines: it needs at least 1\n");
}

TEST(ResConvResourceSetErrors, DuplicateResourceNamesBothPlaces) {
    EXPECT_EQ(ErrorsFor({{"a.rsrc", "resource STRS 32300 language 1033\ntext \"a\"\n"},
                         {"b.rsrc", "\nresource strs 0x7E2C language 1033\ntext \"b\"\n"}}),
              "b.rsrc:2: duplicate resource STRS 32300 language 1033 (first at a.rsrc:1)\n");
}

TEST(ResConvResourceSetErrors, EveryErrorOfEveryFileIsReportedInOrder) {
    EXPECT_EQ(
        ErrorsFor({{"first.rsrc", "resource STRS 1 language 1033\ntext \"a\nwords \"b\"\ntext \"\\z\"\n"},
                   {"second.rsrc", "resource STRS 2 language 1031\ntext 7\n"},
                   {"third.rsrc", "resource STRS 3 language 1033\ntext \"fine\"\n"}}),
        "first.rsrc:2: text has no closing quote\n"
        "first.rsrc:4: unknown escape \"\\z\" in text\n"
        "second.rsrc:1: language 1031: the host reads language 1033 only\n"
        "second.rsrc:2: string list 2, item 1 (text), field text: expected a quoted text, got the number "
        "7\n");
}

} // namespace
