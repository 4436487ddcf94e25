#include "BoundAddOn.hpp"
#include "DGTestSupport.hpp"
#include "HostTestSupport.hpp"
#include "SafAddOn.hpp"
#include "SafCommands.hpp"
#include "TranslatorSettings/SafTranslatorBridge.hpp"
#include "UniStringPrinting.hpp"

#include "ProductVersionInfo.hpp"

#include <cstdint>
#include <string>
#include <vector>

// The SAF add-on's command protocol is stated twice, as it is between two add-ons that ship apart:
// by the add-on in its translator bridge, and by the host's SAF add-on stand-in in SafCommands.hpp.
// Neither includes the other. Here the add-on's bridge talks to the stand-in itself, with nothing
// in between but the host's routing by module identifier, so that a command code, a version, the
// identifier, which argument carries what, or what a command means, stated differently on the two
// sides, makes an operation fail here rather than only in a whole hostsim run.
namespace {

GS::UniString Text(const std::string& utf8) {
    return GS::UniString(utf8.c_str(), CC_UTF8);
}

class SafProtocolAgreement : public BoundAddOn {
protected:
    void SetUp() override {
        BoundAddOn::SetUp();
        host.RespondWith(FakeSlot::CommandCall, [this](const HostCall& call) {
            const auto* target = reinterpret_cast<const AddOnModuleId*>(call.arguments[0]);
            if (target == nullptr || !SAF::IsSafModule(*target)) {
                ++misaddressed;
                return GSErr::NotFound; // what the host answers a call that reaches no add-on
            }
            silentEveryTime = silentEveryTime && call.arguments[5] != 0;
            commands.push_back(static_cast<UInt32>(call.arguments[1]));
            nlohmann::ordered_json details;
            return saf.Call(commands.back(), static_cast<UInt32>(call.arguments[2]),
                            reinterpret_cast<void*>(call.arguments[3]),
                            reinterpret_cast<void*>(call.arguments[4]), "VELDEngineerConnection", details);
        });
        for (const SAF::Translator& translator : saf.Translators()) {
            names.push_back(DGTest::Utf8(translator.name));
        }
        ASSERT_GE(names.size(), 3u) << "the stand-in's first run writes its default translators";
    }
    void TearDown() override {
        EXPECT_EQ(misaddressed, 0);
        EXPECT_TRUE(silentEveryTime);
        // Every bracket the add-on opened, the SAF add-on took back: 'FADA' gets the variable 'LADA' filled.
        EXPECT_TRUE(saf.OpenHandles().empty());
        SU::ProductVersionInfo::SetHostVersion(GS::UniString("27"), 5000);
        BoundAddOn::TearDown();
    }

    // The pop-up as the bridge filled it for the export settings dialog: its entries, and the selected
    // entry's text.
    struct Filled {
        GSErrCode code;
        std::vector<std::string> entries;
        std::string selected;
    };
    Filled FillPopUp() {
        DGTest::Fill(popUp, {"stale entry"});
        const GSErrCode code = FillTranslatorPopUp(popUp).code;
        return {code, DGTest::Entries(popUp), DGTest::Utf8(popUp.GetItemText(popUp.GetSelectedItem()))};
    }

    HostTestSupport::TempFolder folder;
    SAF::SafAddOn saf{folder.Path()};
    std::vector<std::string> names;
    std::vector<UInt32> commands; // every call that reached the SAF add-on
    int misaddressed = 0;
    bool silentEveryTime = true;

    DGTest::TestLayouts layouts;
    DG::ModalDialog dialog{DGTest::TestModule, DGTest::ExportSettingsNumber, DGTest::TestModule};
    DG::PopUp popUp{dialog.GetReference(), 4};
};

// 'GTRS' and 'FTRP' deliver the names that 'SSTD' accepts, and 'GSTD' and 'FTRP' both report the
// one 'SSTD' selected: on the list path of a current host and on the pop-up path of an early
// version-26 host alike.
TEST_F(SafProtocolAgreement, EveryListedTranslatorIsSelectableAndReadBackOnBothPopUpPaths) {
    struct HostVersion {
        const char* shortVersion;
        Int32 build;
    };
    for (const HostVersion version : {HostVersion{"27", 5000}, HostVersion{"26", 3999}}) {
        SU::ProductVersionInfo::SetHostVersion(GS::UniString(version.shortVersion), version.build);
        for (const std::string& name : names) {
            SCOPED_TRACE(std::string(version.shortVersion) + " build " + std::to_string(version.build) +
                         ": " + name);
            ASSERT_TRUE(SelectTranslator(Text(name)));
            const Filled filled = FillPopUp();
            EXPECT_EQ(filled.code, NoError);
            EXPECT_EQ(filled.entries, names);
            EXPECT_EQ(filled.selected, name);
        }
    }
}

TEST_F(SafProtocolAgreement, ANameTheSafAddOnDoesNotKnowIsRefusedAndChangesNothing) {
    ASSERT_TRUE(SelectTranslator(Text(names[1])));
    EXPECT_FALSE(SelectTranslator(Text("Nobody's translator")));
    EXPECT_FALSE(SelectTranslator(Text(names[1]).ToUpperCase()));
    EXPECT_EQ(FillPopUp().selected, names[1]);
}

// 'ISID' gets the handle variable rather than the handle, and shows the SAF add-on's own details
// dialog; what the user settles on there is what the add-on reads back.
TEST_F(SafProtocolAgreement, TheDetailsStepAnswersWhatTheUserLeftSelectedInTheSafAddOnsDialog) {
    struct Case {
        Int16 pickedEntry; // 0: the user picks nothing
        Int16 closingButton;
        std::size_t expected; // index into names
    };
    for (const Case& step : {Case{3, 1, 2}, Case{3, 2, 1}, Case{0, 1, 1}}) {
        DGTest::ScriptedDriver user;
        user.script = [&step](DG::DialogSession& session) {
            if (step.pickedEntry != 0) {
                EXPECT_TRUE(session.Select(4, step.pickedEntry)) << session.Refusal();
            }
            EXPECT_TRUE(session.Click(step.closingButton)) << session.Refusal();
        };
        const std::optional<GS::UniString> selected = ShowTranslatorDetails(Text(names[1]));
        EXPECT_EQ(user.dialogsShown, 1);
        ASSERT_TRUE(selected.has_value())
            << "entry " << step.pickedEntry << ", button " << step.closingButton;
        EXPECT_EQ(DGTest::Utf8(*selected), names[step.expected]);
        EXPECT_EQ(FillPopUp().selected, names[step.expected]);
    }
}

// A SAF add-on whose store cannot be read refuses every bracket; the add-on then reports failure and
// leaves the pop-up as it was, without a closing call the SAF add-on would refuse.
TEST_F(SafProtocolAgreement, ASafAddOnThatRefusesTheBracketLeavesEverythingAsItWas) {
    saf.FailCommand(SAF::Command::OpenData, SAF::Err::StoreUnreadable);
    EXPECT_FALSE(SelectTranslator(Text(names[0])));
    EXPECT_FALSE(ShowTranslatorDetails(Text(names[0])).has_value());
    const Filled filled = FillPopUp();
    EXPECT_EQ(filled.code, SAF::Err::StoreUnreadable);
    EXPECT_EQ(filled.entries, std::vector<std::string>{"stale entry"});
    EXPECT_EQ(commands, std::vector<UInt32>(3, SAF::Command::OpenData));
}

} // namespace
