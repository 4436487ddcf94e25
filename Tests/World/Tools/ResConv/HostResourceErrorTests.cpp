#include "CompileHelpers.hpp"

#include <gtest/gtest.h>

#include <string>

// Errors in dialog layouts, help records and module identifiers: each names the resource, the item
// (by its place among the item lines, and its kind) and the field.
namespace {

using ResConvTest::ErrorsFor;

const std::string DialogLine = "dialog 4 0 0 0 360 150 \"Settings\"\n";
const std::string OkButton = "button 1 7 255 117 90 23 0 0 \"OK\"\n";
const std::string Dialog7001 = "resource GSDG 7001 language 1033\n" + DialogLine + OkButton;

TEST(DialogLayoutErrors, FieldTooWideNamesDialogItemKindAndField) {
    EXPECT_EQ(ErrorsFor({{"popup.rsrc", Dialog7001 + "popup 2 0 15 35 230 70000 23 3 0\n"}}),
              "popup.rsrc:4: dialog 7001, item 2 (pop-up), field height: 70000 does not fit in 16 bits\n");
    EXPECT_EQ(ErrorsFor({{"style.rsrc", Dialog7001 + "separator 2 -1 15 105 330 2\n"}}),
              "style.rsrc:4: dialog 7001, item 2 (separator), field style: -1 does not fit in 16 bits\n");
}

TEST(DialogLayoutErrors, HeaderLineFieldsAreNamedByTheLine) {
    EXPECT_EQ(ErrorsFor({{"wide.rsrc", "resource GSDG 7001 language 1033\n"
                                       "dialog 4 0 0 0 70000 150 \"Settings\"\n" +
                                           OkButton}}),
              "wide.rsrc:2: dialog 7001, \"dialog\" line, field width: 70000 does not fit in 16 bits\n");
    EXPECT_EQ(ErrorsFor({{"title.rsrc",
                          "resource GSDG 7001 language 1033\ndialog 4 0 0 0 360 150 Settings\n" + OkButton}}),
              "title.rsrc:2: dialog 7001, \"dialog\" line, field title: expected a quoted text, got the word "
              "Settings\n");
}

TEST(DialogLayoutErrors, HeaderLineMissingMisplacedOrRepeated) {
    EXPECT_EQ(ErrorsFor({{"none.rsrc", "resource GSDG 7001 language 1033\n" + OkButton}}),
              "none.rsrc:1: dialog 7001 has no \"dialog\" line: it begins with one\n");
    EXPECT_EQ(ErrorsFor({{"late.rsrc", "resource GSDG 7001 language 1033\n" + OkButton + DialogLine}}),
              "late.rsrc:3: dialog 7001: the \"dialog\" line comes before every item line\n");
    EXPECT_EQ(ErrorsFor({{"twice.rsrc", Dialog7001 + DialogLine}}),
              "twice.rsrc:4: dialog 7001: a second \"dialog\" line (the first is at line 2)\n");
}

TEST(DialogLayoutErrors, EachKindTakesExactlyItsFurtherWords) {
    EXPECT_EQ(
        ErrorsFor({{"popup.rsrc", Dialog7001 + "popup 2 0 15 35 230 100 23 3\n"}}),
        "popup.rsrc:4: dialog 7001, item 2 (pop-up): \"popup\" takes 9 value(s) (number, style, left, top, "
        "width, height, word8, word9, word10), got 8\n");
    EXPECT_EQ(ErrorsFor({{"icon.rsrc", Dialog7001 + "icon 2 0 15 68 18 18 0 32700 \"i\"\n"}}),
              "icon.rsrc:4: dialog 7001, item 2 (icon): \"icon\" takes 8 value(s) (number, style, left, top, "
              "width, height, word8, icon), got 9\n");
    EXPECT_EQ(
        ErrorsFor({{"check.rsrc", Dialog7001 + "checkbox 2 1 15 95 330 23 0 0 \"Again\"\n"}}),
        "check.rsrc:4: dialog 7001, item 2 (check box): \"checkbox\" takes 8 value(s) (number, style, left, "
        "top, width, height, word8, text), got 9\n");
}

TEST(DialogLayoutErrors, UnknownItemKindListsTheLinesADialogTakes) {
    EXPECT_EQ(
        ErrorsFor({{"radio.rsrc", Dialog7001 + "radio 2 0 15 35 100 23\n"}}),
        "radio.rsrc:4: dialog 7001, item 2: GSDG has no \"radio\" lines (it takes: dialog, button, checkbox, "
        "popup, lefttext, separator, icon)\n");
}

TEST(DialogLayoutErrors, DialogWithoutItems) {
    EXPECT_EQ(ErrorsFor({{"bare.rsrc", "resource GSDG 7001 language 1033\n" + DialogLine}}),
              "bare.rsrc:1: dialog 7001 has no item lines: it needs at least 1\n");
}

TEST(DialogLayoutErrors, ItemNumbersCountFromOneInLineOrder) {
    EXPECT_EQ(
        ErrorsFor({{"gap.rsrc", Dialog7001 + "separator 3 0 15 105 330 2\n"}}),
        "gap.rsrc:4: dialog 7001, item 2 (separator), field number: 3 is out of order: items are numbered "
        "from 1 in the order of their lines, so this one is 2\n");
}

TEST(DialogLayoutErrors, ItemsStayInsideTheDialog) {
    EXPECT_EQ(
        ErrorsFor({{"right.rsrc", Dialog7001 + "lefttext 2 0 40 65 321 33 0 0 \"Wide\"\n"}}),
        "right.rsrc:4: dialog 7001, item 2 (static text), field width: left 40 + width 321 reaches past the "
        "dialog's width 360\n");
    EXPECT_EQ(
        ErrorsFor({{"low.rsrc", Dialog7001 + "separator 2 0 15 149 330 2\n"}}),
        "low.rsrc:4: dialog 7001, item 2 (separator), field height: top 149 + height 2 reaches past the "
        "dialog's height 150\n");
}

// A pop-up's height is that of its open list, which may reach below the dialog's edge.
TEST(DialogLayoutErrors, APopUpsOpenListMayHangBelowTheDialog) {
    const auto entries =
        ResConvTest::CompileAndReadBack({{"list.rsrc", Dialog7001 + "popup 2 0 15 35 230 500 23 3 0\n"}});
    EXPECT_EQ(entries.size(), 1u);
}

TEST(DialogHelpErrors, HelpRecordNeedsTheDialogOfItsNumber) {
    EXPECT_EQ(
        ErrorsFor({{"help.rsrc", "resource DLGH 7002 language 1033\nhelp \"H\"\nanchor 1 \"Button_0\"\n"}}),
        "help.rsrc:1: help record 7002: there is no dialog 7002 for it to describe\n");
}

TEST(DialogHelpErrors, OneAnchorPerItemInTheDialogsOrder) {
    const std::string dialog = Dialog7001 + "separator 2 0 15 105 330 2\n";
    EXPECT_EQ(
        ErrorsFor({{"d.rsrc", dialog},
                   {"short.rsrc", "resource DLGH 7001 language 1033\nhelp \"H\"\nanchor 1 \"Button_0\"\n"}}),
        "short.rsrc:1: help record 7001 has 1 anchors for the 2 items of dialog 7001\n");
    EXPECT_EQ(
        ErrorsFor({{"d.rsrc", dialog},
                   {"order.rsrc", "resource DLGH 7001 language 1033\nhelp \"H\"\n"
                                  "anchor 2 \"Separator_0\"\nanchor 1 \"Button_0\"\n"}}),
        "order.rsrc:3: help record 7001, item 1 (anchor), field item: 2 where dialog 7001 has item 1\n"
        "order.rsrc:4: help record 7001, item 2 (anchor), field item: 1 where dialog 7001 has item 2\n");
}

TEST(DialogHelpErrors, HelpNameIsAText) {
    EXPECT_EQ(ErrorsFor({{"d.rsrc", Dialog7001},
                         {"name.rsrc", "resource DLGH 7001 language 1033\nhelp 5\nanchor 1 \"Button_0\"\n"}}),
              "name.rsrc:2: help record 7001, \"help\" line, field name: expected a quoted text, got the "
              "number 5\n");
}

// A dialog left out for its own errors is not reported again as missing by its help record.
TEST(DialogHelpErrors, BrokenDialogIsReportedOnce) {
    EXPECT_EQ(
        ErrorsFor({{"d.rsrc", "resource GSDG 7001 language 1033\n" + OkButton},
                   {"h.rsrc", "resource DLGH 7001 language 1033\nhelp \"H\"\nanchor 1 \"Button_0\"\n"}}),
        "d.rsrc:1: dialog 7001 has no \"dialog\" line: it begins with one\n");
}

TEST(ModuleIdentifierErrors, ExactlyTwoValues) {
    EXPECT_EQ(ErrorsFor({{"one.rsrc", "resource MDID 32500 language 1033\nvalue 1\n"}}),
              "one.rsrc:1: module identifier 32500 has 1 \"value\" line: it takes exactly 2\n");
    EXPECT_EQ(ErrorsFor({{"three.rsrc", "resource MDID 32500 language 1033\nvalue 1\nvalue 2\nvalue 3\n"}}),
              "three.rsrc:1: module identifier 32500 has 3 \"value\" lines: it takes exactly 2\n");
}

TEST(ModuleIdentifierErrors, ValuesAreUnsignedThirtyTwoBits) {
    EXPECT_EQ(
        ErrorsFor({{"wide.rsrc", "resource MDID 32500 language 1033\nvalue 1\nvalue 0x100000000\n"}}),
        "wide.rsrc:3: module identifier 32500, item 2 (value), field value: 4294967296 does not fit in 32 "
        "bits\n");
    EXPECT_EQ(
        ErrorsFor({{"minus.rsrc", "resource MDID 32500 language 1033\nvalue -1\nvalue 2\n"}}),
        "minus.rsrc:2: module identifier 32500, item 1 (value), field value: -1 does not fit in 32 bits\n");
}

} // namespace
