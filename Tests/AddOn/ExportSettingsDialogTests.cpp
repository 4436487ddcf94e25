#include "AddOnMain.hpp"
#include "BoundAddOn.hpp"
#include "DGTestSupport.hpp"
#include "HostTestSupport.hpp"
#include "TranslatorHostFakes.hpp"
#include "TranslatorSettings/ExportSettingsDialog.hpp"

#include "ProductVersionInfo.hpp"

#include <string>
#include <utility>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

constexpr Int16 OkItem = 1;
constexpr Int16 DetailsItem = 5;
constexpr Int16 PopUpItem = 4;
const std::string Placeholder = "Select translator";

// What the user sees of the dialog right after it was built.
struct Shown {
    Texts entries;
    Int16 selected = 0;
    bool firstEntryEnabled = false;
    bool okEnabled = false;
};

Shown ShownBy(const DG::DialogModel& model) {
    const DG::ItemModel& popUp = DGTest::ItemOf(model, PopUpItem);
    Shown shown;
    for (const DG::PopUpEntryModel& entry : popUp.entries) {
        shown.entries.push_back(entry.text);
    }
    shown.selected = popUp.selected;
    shown.firstEntryEnabled = !popUp.entries.empty() && popUp.entries.front().enabled;
    shown.okEnabled = DGTest::ItemOf(model, OkItem).enabled;
    return shown;
}

Texts WithPlaceholder(Texts names) {
    names.insert(names.begin(), Placeholder);
    return names;
}

class ExportSettingsDialogTest : public BoundAddOn {
protected:
    void TearDown() override {
        SU::ProductVersionInfo::SetHostVersion(GS::UniString("27"), 5000);
        BoundAddOn::TearDown();
    }

    void OfferTranslators(const Texts& names) {
        saf.translators.clear();
        for (const std::string& name : names) {
            saf.translators.push_back(DGTest::Text(name.c_str()));
        }
        saf.selected = 0;
    }
    void StoreName(const std::string& name) {
        project.objects.clear();
        project.Add(TranslatorObjectName, SerializedText(DGTest::Text(name.c_str())));
    }
    void ForgetStoredName() { project.objects.clear(); }
    void AsEarlyVersion26Host() { SU::ProductVersionInfo::SetHostVersion(GS::UniString("26"), 3000); }

    Shown Build() const {
        VELDIO::ExportSettingsDialog dialog;
        const DG::DialogModel* model = DG::FindDialogModel(dialog);
        return model != nullptr ? ShownBy(*model) : Shown{};
    }

    DGTest::TestLayouts layouts;
    FakeSafAddOn saf{host};
    FakeProjectObjects project{host};
};

// On both ways of filling (the list the add-on fills in itself, and the SAF add-on filling the
// pop-up on an early version-26 host) the outcome the user sees is the same.
class ExportSettingsDialogBothFills : public ExportSettingsDialogTest,
                                      public testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        ExportSettingsDialogTest::SetUp();
        if (GetParam()) {
            AsEarlyVersion26Host();
        }
    }
};

INSTANTIATE_TEST_SUITE_P(Fills, ExportSettingsDialogBothFills, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& fill) {
                             return fill.param ? "SafAddOnFills" : "ListFills";
                         });

TEST_P(ExportSettingsDialogBothFills, AStoredTranslatorAtTheStartInTheMiddleOrAtTheEndIsSelected) {
    const Texts names{"Alpha", "Beta", "Gamma", "Delta", "Epsilon"};
    OfferTranslators(names);
    const std::vector<std::pair<std::string, Int16>> cases{{"Alpha", 1}, {"Gamma", 3}, {"Epsilon", 5}};
    for (const auto& [stored, entry] : cases) {
        StoreName(stored);
        const Shown shown = Build();
        EXPECT_EQ(shown.entries, names) << stored;
        EXPECT_EQ(shown.selected, entry) << stored;
        EXPECT_TRUE(shown.okEnabled) << stored;
    }
}

TEST_P(ExportSettingsDialogBothFills, WithoutAMatchingStoredNameThePlaceholderIsInsertedSelectedAndDisabled) {
    const Texts names{"Alpha", "Beta"};
    OfferTranslators(names);
    for (const char* stored : {"Deleted Translator", "", "Alpha "}) {
        StoreName(stored);
        const Shown shown = Build();
        EXPECT_EQ(shown.entries, WithPlaceholder(names)) << '"' << stored << '"';
        EXPECT_EQ(shown.selected, 1) << '"' << stored << '"';
        EXPECT_FALSE(shown.firstEntryEnabled) << '"' << stored << '"';
        EXPECT_FALSE(shown.okEnabled) << '"' << stored << '"';
    }
    ForgetStoredName();
    EXPECT_EQ(Build().entries, WithPlaceholder(names));
}

TEST_P(ExportSettingsDialogBothFills, NamesOfTheSameLettersInAnotherCaseAreOtherTranslators) {
    OfferTranslators({"Steel", "STEEL", "steel"});
    StoreName("steel");
    EXPECT_EQ(Build().selected, 3);
    StoreName("STEEL");
    EXPECT_EQ(Build().selected, 2);
    StoreName("Steel");
    EXPECT_EQ(Build().selected, 1);
    StoreName("sTEEL");
    const Shown shown = Build();
    EXPECT_EQ(shown.entries, WithPlaceholder({"Steel", "STEEL", "steel"}));
    EXPECT_EQ(shown.selected, 1);
    EXPECT_FALSE(shown.okEnabled);
}

TEST_P(ExportSettingsDialogBothFills, OfEqualNamesTheLastIsSelectedAndAnEmptyNameCanBeTheStoredOne) {
    OfferTranslators({"Twin", "", "Twin", "Other"});
    StoreName("Twin");
    EXPECT_EQ(Build().selected, 3);
    // An absent name counts as the empty text, which a translator may have.
    ForgetStoredName();
    const Shown shown = Build();
    EXPECT_EQ(shown.entries, (Texts{"Twin", "", "Twin", "Other"}));
    EXPECT_EQ(shown.selected, 2);
    EXPECT_TRUE(shown.okEnabled);
}

TEST_P(ExportSettingsDialogBothFills, ManyTranslatorsKeepTheirOrderAndTheStoredOneIsSelected) {
    Texts names;
    for (int index = 1; index <= 5000; ++index) {
        names.push_back("Translator " + std::to_string(index));
    }
    OfferTranslators(names);
    StoreName("Translator 2500");
    const Shown shown = Build();
    EXPECT_EQ(shown.entries, names);
    EXPECT_EQ(shown.selected, 2500);
    EXPECT_TRUE(shown.okEnabled);
}

TEST_F(ExportSettingsDialogTest, AnUnreachableSafAddOnLeavesOnlyThePlaceholder) {
    saf.failures["LADA"] = static_cast<GSErrCode>(0x81060003u);
    StoreName("Alpha");
    const Shown shown = Build();
    EXPECT_EQ(shown.entries, Texts{Placeholder});
    EXPECT_EQ(shown.selected, 1);
    EXPECT_FALSE(shown.okEnabled);
}

// The list path knows what it put into the pop-up: the entries are not read back one by one.
TEST_F(ExportSettingsDialogTest, TheListPathFindsTheStoredNameWithoutReadingTheEntriesBack) {
    Texts names;
    for (int index = 1; index <= 1000; ++index) {
        names.push_back("Translator " + std::to_string(index));
    }
    OfferTranslators(names);
    StoreName("Translator 700");
    HostTestSupport::RecordingMonitor monitor;
    const Shown shown = Build();
    EXPECT_EQ(shown.selected, 700);
    EXPECT_EQ(monitor.CallsOf("DG::PopUp::AppendItem").size(), 1000u);
    EXPECT_EQ(monitor.CallsOf("DG::PopUp::SetItemText").size(), 1000u);
    EXPECT_TRUE(monitor.CallsOf("DG::PopUp::GetItemCount").empty());
    // Only the OK button's rule reads texts: the selected entry and entry 1.
    EXPECT_EQ(monitor.CallsOf("DG::PopUp::GetItemText").size(), 2u);
}

// Filled by the SAF add-on, the pop-up is read back: its count once, then every entry.
TEST_F(ExportSettingsDialogTest, APopUpTheSafAddOnFilledIsCountedOnceAndReadBack) {
    AsEarlyVersion26Host();
    OfferTranslators({"Alpha", "Beta", "Gamma"});
    StoreName("Beta");
    HostTestSupport::RecordingMonitor monitor;
    EXPECT_EQ(Build().selected, 2);
    const std::vector<HostTestSupport::RecordedCall> reads = monitor.CallsOf("DG::PopUp::GetItemText");
    ASSERT_EQ(reads.size(), 5u);
    EXPECT_EQ(reads[0].details, "dialog=7001 item=4 entry=1");
    EXPECT_EQ(reads[2].details, "dialog=7001 item=4 entry=3");
}

// Entry numbers end at 32767: a search over a pop-up that full still ends.
TEST_F(ExportSettingsDialogTest, APopUpFilledToTheLastEntryNumberIsSearchedToItsEnd) {
    AsEarlyVersion26Host();
    Texts names(32767, "Same");
    names.back() = "Last";
    OfferTranslators(names);
    StoreName("Last");
    const Shown shown = Build();
    EXPECT_EQ(shown.selected, 32767);
    EXPECT_EQ(shown.entries.size(), 32767u);
}

// "Details..." selects the first entry of the name the SAF add-on reports afterwards.
TEST_F(ExportSettingsDialogTest, DetailsSelectTheFirstEntryOfTheReportedName) {
    OfferTranslators({"Twin", "Other", "Twin"});
    StoreName("Twin");
    saf.duringDetails = [](FakeSafAddOn& addOn) { addOn.selected = 2; };
    DGTest::ScriptedDriver driver;
    Int16 selectedBefore = 0;
    Int16 selectedAfter = 0;
    driver.script = [&](DG::DialogSession& session) {
        selectedBefore = DGTest::ItemOf(session.Model(), PopUpItem).selected;
        EXPECT_TRUE(session.Click(DetailsItem));
        selectedAfter = DGTest::ItemOf(session.Model(), PopUpItem).selected;
    };
    VELDIO::ExportSettingsDialog dialog;
    EXPECT_FALSE(dialog.Invoke());
    EXPECT_EQ(selectedBefore, 3);
    EXPECT_EQ(selectedAfter, 1);
}

} // namespace
