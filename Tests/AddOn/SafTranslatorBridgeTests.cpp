#include "BoundAddOn.hpp"
#include "DGTestSupport.hpp"
#include "TranslatorHostFakes.hpp"
#include "TranslatorSettings/SafTranslatorBridge.hpp"
#include "UniStringPrinting.hpp"

#include "ProductVersionInfo.hpp"

#include <functional>
#include <string>
#include <vector>

namespace {

using Commands = std::vector<std::string>;

GS::UniString Text(const char* utf8) {
    return GS::UniString(utf8, CC_UTF8);
}

class SafTranslatorBridge : public BoundAddOn {
protected:
    void SetUp() override {
        BoundAddOn::SetUp();
        saf.translators = {Text("Structural Analysis (SI)"), Text("Structural Analysis (Imperial)"),
                           Text("Load-Bearing Elements Only")};
    }
    void TearDown() override {
        SU::ProductVersionInfo::SetHostVersion(GS::UniString("27"), 5000);
        BoundAddOn::TearDown();
    }

    FakeSafAddOn saf{host};
};

// Every call goes to the SAF add-on's identifier, silently, with the versions the commands take.
void ExpectWellAddressed(const FakeSafAddOn& saf) {
    for (const SafCall& call : saf.Calls()) {
        EXPECT_EQ(call.target.first, 0x47242F2Eu) << call.command;
        EXPECT_EQ(call.target.second, 0x8D897D96u) << call.command;
        EXPECT_TRUE(call.silent) << call.command;
        const bool bracket = call.command == "LADA" || call.command == "FADA";
        EXPECT_EQ(call.version, bracket ? 12345u : 1u) << call.command;
    }
}

TEST_F(SafTranslatorBridge, SelectingAKnownNameIsOneBracketAroundSstd) {
    saf.selected = 2;
    EXPECT_TRUE(SelectTranslator(Text("Structural Analysis (Imperial)")));
    EXPECT_EQ(saf.Commands(), (Commands{"LADA", "SSTD", "FADA"}));
    EXPECT_EQ(saf.selected, 1u);
    ExpectWellAddressed(saf);
    EXPECT_EQ(saf.BracketFault(), "");

    const auto& calls = saf.Calls();
    // The opening and closing calls get the same variable; the working call its value.
    EXPECT_NE(calls[0].parameter, nullptr);
    EXPECT_EQ(calls[0].result, nullptr);
    EXPECT_EQ(calls[2].parameter, calls[0].parameter);
    EXPECT_EQ(calls[2].result, nullptr);
    ASSERT_EQ(saf.IssuedHandles().size(), 1u);
    EXPECT_EQ(calls[1].parameter, saf.IssuedHandles()[0]);
    ASSERT_NE(calls[1].result, nullptr);
}

TEST_F(SafTranslatorBridge, ARejectedNameIsFalseAndTheBracketIsStillClosedOnce) {
    EXPECT_FALSE(SelectTranslator(Text("Deleted Translator")));
    EXPECT_EQ(saf.Commands(), (Commands{"LADA", "SSTD", "FADA"}));
    EXPECT_EQ(saf.BracketFault(), "");
}

TEST_F(SafTranslatorBridge, AFailedCloseDoesNotUndoASuccessfulSelection) {
    saf.failures["FADA"] = GSErr::Generic;
    EXPECT_TRUE(SelectTranslator(Text("Load-Bearing Elements Only")));
}

TEST_F(SafTranslatorBridge, DetailsOfARejectedNameStillRunTheDetailsStepAndReportTheSelection) {
    saf.selected = 2;
    EXPECT_EQ(ShowTranslatorDetails(Text("Select translator")), Text("Load-Bearing Elements Only"));
    EXPECT_EQ(saf.Commands(), (Commands{"LADA", "SSTD", "ISID", "GSTD", "FADA"}));
    ExpectWellAddressed(saf);
    EXPECT_EQ(saf.BracketFault(), "");
    const auto& calls = saf.Calls();
    EXPECT_EQ(calls[2].parameter, nullptr);
    EXPECT_EQ(calls[2].result, calls[0].parameter); // 'ISID' gets the variable itself
}

TEST_F(SafTranslatorBridge, DetailsReportTheTranslatorTheUserPickedThere) {
    saf.duringDetails = [](FakeSafAddOn& addOn) { addOn.selected = 1; };
    EXPECT_EQ(ShowTranslatorDetails(Text("Structural Analysis (SI)")),
              Text("Structural Analysis (Imperial)"));
}

TEST_F(SafTranslatorBridge, AHandleThatTheDetailsStepReplacedIsTheOneReadAndGivenBack) {
    saf.detailsReplacesHandle = true;
    EXPECT_EQ(ShowTranslatorDetails(Text("Structural Analysis (SI)")), Text("Structural Analysis (SI)"));
    ASSERT_EQ(saf.IssuedHandles().size(), 2u);
    EXPECT_EQ(saf.Calls()[3].parameter, saf.IssuedHandles()[1]); // 'GSTD'
    EXPECT_EQ(saf.BracketFault(), "");
    EXPECT_TRUE(saf.OpenHandles().empty());
}

TEST_F(SafTranslatorBridge, AFailedDetailsStepIsAbsentWithoutGstdButClosed) {
    saf.failures["ISID"] = static_cast<GSErrCode>(0x81061007u);
    EXPECT_EQ(ShowTranslatorDetails(Text("Structural Analysis (SI)")), std::nullopt);
    EXPECT_EQ(saf.Commands(), (Commands{"LADA", "SSTD", "ISID", "FADA"}));
}

TEST_F(SafTranslatorBridge, DetailsAreAbsentWhenOnlyTheReadBackOrOnlyTheCloseFails) {
    saf.failures["GSTD"] = GSErr::Generic;
    EXPECT_EQ(ShowTranslatorDetails(Text("Structural Analysis (SI)")), std::nullopt);
    saf.failures.clear();
    saf.failures["FADA"] = GSErr::Generic;
    EXPECT_EQ(ShowTranslatorDetails(Text("Structural Analysis (SI)")), std::nullopt);
}

// ---- the pop-up

class SafTranslatorPopUp : public SafTranslatorBridge {
protected:
    void Announce(const char* version, Int32 build) {
        SU::ProductVersionInfo::SetHostVersion(Text(version), build);
    }
    std::vector<std::string> Entries() const { return DGTest::Entries(popUp); }
    std::string SelectedEntry() const { return DGTest::Utf8(popUp.GetItemText(popUp.GetSelectedItem())); }

    DGTest::TestLayouts layouts;
    DG::ModalDialog dialog{DGTest::TestModule, DGTest::ExportSettingsNumber, DGTest::TestModule};
    DG::PopUp popUp{dialog.GetReference(), 4};
};

TEST_F(SafTranslatorPopUp, TheListPathRefillsThePopUpAndSelectsTheCurrentTranslator) {
    DGTest::Fill(popUp, {"stale entry"});
    saf.selected = 1;
    const TranslatorPopUpFill fill = FillTranslatorPopUp(popUp);
    EXPECT_EQ(fill.code, NoError);
    EXPECT_EQ(saf.Commands(), (Commands{"LADA", "GTRS", "GSTD", "FADA"}));
    const std::vector<std::string> names{"Structural Analysis (SI)", "Structural Analysis (Imperial)",
                                         "Load-Bearing Elements Only"};
    EXPECT_EQ(Entries(), names);
    // What the fill reports having put in is what the pop-up holds, entry for entry.
    ASSERT_TRUE(fill.entries.has_value());
    ASSERT_EQ(fill.entries->GetSize(), names.size());
    for (std::size_t entry = 0; entry < names.size(); ++entry) {
        EXPECT_EQ(DGTest::Utf8((*fill.entries)[static_cast<UInt32>(entry)]), names[entry]);
    }
    EXPECT_EQ(popUp.GetSelectedItem(), 2);
    ExpectWellAddressed(saf);
    const auto& calls = saf.Calls();
    EXPECT_EQ(calls[1].result, saf.IssuedHandles().at(0)); // 'GTRS' gets the handle as its result argument
    EXPECT_EQ(calls[2].parameter, saf.IssuedHandles().at(0));
}

TEST_F(SafTranslatorPopUp, OnlyAnEarlyVersion26HostLetsTheSafAddOnFillThePopUp) {
    struct Host {
        const char* version;
        Int32 build;
        const char* working;
    };
    for (const Host& hostVersion :
         {Host{"26", 3999, "FTRP"}, Host{"26", -5, "FTRP"}, Host{"26", 4000, "GTRS"},
          Host{"26", 4001, "GTRS"}, Host{"27", 100, "GTRS"}, Host{"26.0", 100, "GTRS"},
          Host{" 26", 100, "GTRS"}, Host{"", 100, "GTRS"}}) {
        Announce(hostVersion.version, hostVersion.build);
        const std::size_t before = saf.Calls().size();
        EXPECT_EQ(FillTranslatorPopUp(popUp).code, NoError);
        ASSERT_GT(saf.Calls().size(), before + 1);
        EXPECT_EQ(saf.Calls()[before + 1].command, hostVersion.working)
            << '"' << hostVersion.version << "\" build " << hostVersion.build;
        EXPECT_EQ(Entries().size(), 3u);
    }
    EXPECT_EQ(saf.BracketFault(), "");
}

TEST_F(SafTranslatorPopUp, ThePopUpPathHandsTheItemItselfAndTheHandle) {
    Announce("26", 3999);
    const TranslatorPopUpFill fill = FillTranslatorPopUp(popUp);
    EXPECT_EQ(fill.code, NoError);
    EXPECT_FALSE(fill.entries.has_value()); // the SAF add-on's own fill is not known entry by entry
    EXPECT_EQ(saf.Commands(), (Commands{"LADA", "FTRP", "FADA"}));
    EXPECT_EQ(saf.Calls()[1].parameter, static_cast<void*>(&popUp));
    EXPECT_NE(saf.Calls()[1].result, nullptr);
    saf.failures["FTRP"] = 17;
    EXPECT_EQ(FillTranslatorPopUp(popUp).code, 17);
    saf.failures = {{"FADA", 19}};
    EXPECT_EQ(FillTranslatorPopUp(popUp).code, 19);
}

TEST_F(SafTranslatorPopUp, AnEmptyListEmptiesThePopUp) {
    DGTest::Fill(popUp, {"stale entry"});
    saf.translators.clear();
    saf.reportedSelection = GS::UniString();
    EXPECT_EQ(FillTranslatorPopUp(popUp).code, NoError);
    EXPECT_TRUE(Entries().empty());
    EXPECT_EQ(popUp.GetSelectedItem(), 0);
}

TEST_F(SafTranslatorPopUp, ACurrentTranslatorMissingFromTheListSelectsNothing) {
    saf.reportedSelection = Text("Deleted Translator");
    EXPECT_EQ(FillTranslatorPopUp(popUp).code, NoError);
    EXPECT_EQ(Entries().size(), 3u);
    EXPECT_EQ(popUp.GetSelectedItem(), 0);
}

TEST_F(SafTranslatorPopUp, OfEqualNamesTheLaterStaysSelectedAndEmptyNamesAreEntriesToo) {
    saf.translators = {Text("Twin"), Text(""), Text("Twin"), Text("Other")};
    saf.selected = 0;
    EXPECT_EQ(FillTranslatorPopUp(popUp).code, NoError);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"Twin", "", "Twin", "Other"}));
    EXPECT_EQ(popUp.GetSelectedItem(), 3);
}

TEST_F(SafTranslatorPopUp, AFailedListOrCurrentNameLeavesThePopUpAsItWas) {
    DGTest::Fill(popUp, {"first", "second"});
    popUp.SelectItem(2);
    for (const char* failing : {"GTRS", "GSTD", "LADA"}) {
        saf.failures = {{failing, 23}};
        EXPECT_EQ(FillTranslatorPopUp(popUp).code, 23) << failing;
        EXPECT_EQ(Entries(), (std::vector<std::string>{"first", "second"})) << failing;
        EXPECT_EQ(popUp.GetSelectedItem(), 2) << failing;
    }
    EXPECT_EQ(saf.BracketFault(), "");
}

TEST_F(SafTranslatorPopUp, TenThousandTranslatorsAllArrive) {
    saf.translators.clear();
    for (int index = 0; index < 10000; ++index) {
        saf.translators.push_back(Text(("Translator " + std::to_string(index)).c_str()));
    }
    saf.selected = 9999;
    const TranslatorPopUpFill fill = FillTranslatorPopUp(popUp);
    EXPECT_EQ(fill.code, NoError);
    EXPECT_EQ(popUp.GetItemCount(), 10000);
    EXPECT_EQ(SelectedEntry(), "Translator 9999");
    ASSERT_TRUE(fill.entries.has_value());
    EXPECT_EQ(fill.entries->GetSize(), 10000u);
}

TEST_F(SafTranslatorPopUp, ListsBeyondTheLastEntryNumberAreNotReportedEntryByEntry) {
    // Entry numbers end at 32767: past it, entry n no longer holds name n, so the names must not be
    // handed back as if it did; up to it they are.
    for (const std::size_t count : {std::size_t{32767}, std::size_t{32768}}) {
        saf.translators.assign(count, Text("Same Name"));
        saf.selected = 0;
        const TranslatorPopUpFill fill = FillTranslatorPopUp(popUp);
        EXPECT_EQ(fill.code, NoError) << count;
        EXPECT_EQ(fill.entries.has_value(), count == 32767) << count;
    }
    EXPECT_EQ(saf.BracketFault(), "");
}

// ---- without a SAF add-on, and with any one call failing

TEST_F(SafTranslatorPopUp, WithoutASafAddOnNothingIsSelectedShownOrFilled) {
    DGTest::Fill(popUp, {"kept"});
    saf.failures = {{"LADA", static_cast<GSErrCode>(0x81060003u)}};
    EXPECT_FALSE(SelectTranslator(Text("Structural Analysis (SI)")));
    EXPECT_EQ(ShowTranslatorDetails(Text("Structural Analysis (SI)")), std::nullopt);
    EXPECT_EQ(FillTranslatorPopUp(popUp).code, static_cast<GSErrCode>(0x81060003u));
    EXPECT_EQ(Entries(), (std::vector<std::string>{"kept"}));
    EXPECT_EQ(saf.Commands(), (Commands{"LADA", "LADA", "LADA"}));
    EXPECT_EQ(saf.BracketFault(), "");
}

TEST_F(SafTranslatorPopUp, AHostWithoutCommandCallsIsTreatedLikeAnyFailure) {
    EmptySlotAndRebind(FakeSlot::CommandCall);
    DGTest::Fill(popUp, {"kept"});
    EXPECT_FALSE(SelectTranslator(Text("Structural Analysis (SI)")));
    EXPECT_EQ(ShowTranslatorDetails(Text("Structural Analysis (SI)")), std::nullopt);
    EXPECT_EQ(FillTranslatorPopUp(popUp).code, GSErr::MissingSlot);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"kept"}));
    EXPECT_TRUE(saf.Calls().empty());
}

// Fails the 1st, 2nd, ... command call of each operation until it runs clean: every time, each
// successful 'LADA' is closed by exactly one 'FADA' and nothing follows a failed one.
TEST_F(SafTranslatorPopUp, EveryFailingCallKeepsTheBracketBalanced) {
    const std::vector<std::pair<std::string, std::function<void()>>> operations = {
        {"SelectTranslator", [] { static_cast<void>(SelectTranslator(Text("Structural Analysis (SI)"))); }},
        {"ShowTranslatorDetails",
         [] { static_cast<void>(ShowTranslatorDetails(Text("Structural Analysis (SI)"))); }},
        {"FillTranslatorPopUp (list)", [this] { static_cast<void>(FillTranslatorPopUp(popUp)); }},
        {"FillTranslatorPopUp (pop-up)",
         [this] {
             Announce("26", 1000);
             static_cast<void>(FillTranslatorPopUp(popUp));
             Announce("27", 5000);
         }},
    };
    for (const auto& [name, run] : operations) {
        for (std::size_t failing = 1;; ++failing) {
            FakeSafAddOn fresh(host); // answers the command call slot from here on

            fresh.translators = saf.translators;
            fresh.failCallNumber = failing;
            run();
            EXPECT_EQ(fresh.BracketFault(), "") << name << ", call " << failing << " failing";
            if (fresh.Calls().size() < failing) {
                break;
            }
        }
    }
}

} // namespace
