#include "Snapshots/DialogSnapshot.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

DG::ItemModel Item(Int16 number, DG::ItemKind kind, std::string text) {
    DG::ItemModel item;
    item.number = number;
    item.kind = kind;
    item.left = 10;
    item.top = static_cast<Int16>(10 + 30 * number);
    item.width = 300;
    item.height = 20;
    item.text = std::move(text);
    return item;
}

// Texts come from add-ons and from the SAF add-on's translator store, so they may hold markup and
// control characters (an escape sequence in a translator's name). The picture must stay an SVG a
// browser opens: every such text shown with its markup escaped and its control characters left out.
TEST(DialogSnapshotText, MarkupIsEscapedAndControlCharactersLeftOutOfEveryText) {
    DG::DialogModel model;
    model.number = 7001;
    model.title = "Export \x01<Settings>";
    model.width = 360;
    model.height = 160;
    model.items.push_back(Item(1, DG::ItemKind::StaticText, "Use \"A&B\" here"));
    model.items.push_back(Item(2, DG::ItemKind::PushButton, "OK & go"));
    model.items.push_back(Item(3, DG::ItemKind::CheckBox, "Do not <b>show</b>"));
    DG::ItemModel popUp = Item(4, DG::ItemKind::PopUp, "");
    popUp.entries = {{"\x1b[31mRed</text>", true}};
    popUp.selected = 1;
    model.items.push_back(popUp);

    const std::string svg = HostSim::DialogAsSvg(model, {});

    for (const char* shown :
         {">Export &lt;Settings&gt;</text>", ">Use &quot;A&amp;B&quot; here</text>", ">OK &amp; go</text>",
          ">Do not &lt;b&gt;show&lt;/b&gt;</text>", ">[31mRed&lt;/text&gt;</text>"}) {
        EXPECT_NE(svg.find(shown), std::string::npos) << "missing " << shown << " in\n" << svg;
    }
    for (const char character : svg) {
        const auto byte = static_cast<unsigned char>(character);
        EXPECT_TRUE(byte >= 0x20 || byte == '\n') << "control character " << int{byte} << " in\n" << svg;
    }
}

} // namespace
