#include "Array.hpp"
#include "CarefulFile.hpp"
#include "DGPopUpLimit.hpp"
#include "DGTestSupport.hpp"
#include "HostTestSupport.hpp"
#include "SafAddOn.hpp"
#include "SafCommands.hpp"
#include "SafDialogs.hpp"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

using Json = nlohmann::ordered_json;
namespace Command = SAF::Command;

std::string Utf8(const GS::UniString& text) {
    return text.ToUTF8().Get();
}

class SafCommands : public ::testing::Test {
protected:
    GSErrCode Call(UInt32 command, void* parameter, void* result) {
        const bool bracket = command == Command::OpenData || command == Command::CloseData;
        Json details;
        return saf.Call(command, bracket ? SAF::BracketVersion : SAF::WorkingVersion, parameter, result,
                        "Tester", details);
    }
    void* Open() {
        void* handle = nullptr;
        EXPECT_EQ(Call(Command::OpenData, &handle, nullptr), NoError);
        EXPECT_NE(handle, nullptr);
        return handle;
    }
    std::vector<std::string> Names(void* handle) {
        GS::Array<GS::UniString> names;
        EXPECT_EQ(Call(Command::GetTranslators, &names, handle), NoError);
        std::vector<std::string> texts;
        for (const GS::UniString& name : names) {
            texts.push_back(Utf8(name));
        }
        return texts;
    }
    std::string Selected(void* handle) {
        GS::UniString name;
        EXPECT_EQ(Call(Command::GetSelected, handle, &name), NoError);
        return Utf8(name);
    }
    void WriteStore(const std::vector<SAF::Translator>& translators) {
        std::filesystem::create_directories(SAF::SafAddOn::StorePath(folder.Path()).parent_path());
        std::string error;
        ASSERT_TRUE(GS::CarefulFile::ReplaceFile(SAF::SafAddOn::StorePath(folder.Path()),
                                                 SAF::FormatTranslatorFile(translators), error));
    }

    HostTestSupport::TempFolder folder;
    SAF::SafAddOn saf{folder.Path()};
};

TEST_F(SafCommands, EveryNameThatGtrsDeliversIsAcceptedBySstdAndReportedByGstd) {
    void* handle = Open();
    const std::vector<std::string> names = Names(handle);
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(Selected(handle), names[0]);
    for (const std::string& name : names) {
        GS::UniString text(name.c_str(), CC_UTF8);
        EXPECT_EQ(Call(Command::SelectTranslator, handle, &text), NoError) << name;
        EXPECT_EQ(Selected(handle), name);
    }
    GS::UniString unknown("Nobody's translator");
    EXPECT_EQ(Call(Command::SelectTranslator, handle, &unknown), SAF::Err::UnknownTranslator);
    GS::UniString differentCase(names[0].c_str(), CC_UTF8);
    differentCase = differentCase.ToUpperCase();
    EXPECT_EQ(Call(Command::SelectTranslator, handle, &differentCase), SAF::Err::UnknownTranslator);
    EXPECT_EQ(Selected(handle), names[2]);
    EXPECT_EQ(Call(Command::CloseData, &handle, nullptr), NoError);
    EXPECT_EQ(handle, nullptr);
    EXPECT_TRUE(saf.OpenHandles().empty());
}

TEST_F(SafCommands, HandlesAreOnlyGoodFromLadaToFada) {
    void* first = Open();
    void* second = Open();
    EXPECT_NE(first, second);
    ASSERT_EQ(saf.OpenHandles().size(), 2u);
    EXPECT_EQ(saf.OpenHandles()[0].openedBy, "Tester");
    void* kept = first;
    EXPECT_EQ(Call(Command::CloseData, &first, nullptr), NoError);
    EXPECT_EQ(Call(Command::CloseData, &kept, nullptr), SAF::Err::UnknownHandle);
    GS::UniString name;
    EXPECT_EQ(Call(Command::GetSelected, kept, &name), SAF::Err::UnknownHandle);
    GS::Array<GS::UniString> names;
    EXPECT_EQ(Call(Command::GetTranslators, &names, kept), SAF::Err::UnknownHandle);
    EXPECT_TRUE(names.IsEmpty());
    EXPECT_EQ(saf.OpenHandles().size(), 1u);
    EXPECT_EQ(Call(Command::OpenData, nullptr, nullptr), GSErr::BadParameter);
    EXPECT_EQ(Call(Command::CloseData, &second, nullptr), NoError);
}

TEST_F(SafCommands, UnknownCommandsAndOtherVersionsFail) {
    void* handle = nullptr;
    Json details;
    EXPECT_EQ(saf.Call(Command::OpenData, 1, &handle, nullptr, "Tester", details), SAF::Err::WrongVersion);
    EXPECT_EQ(handle, nullptr);
    handle = Open();
    GS::UniString name;
    EXPECT_EQ(saf.Call(Command::GetSelected, 12345, handle, &name, "Tester", details),
              SAF::Err::WrongVersion);
    EXPECT_EQ(saf.Call(Command::CloseData, 12346, &handle, nullptr, "Tester", details),
              SAF::Err::WrongVersion);
    EXPECT_EQ(saf.Call(FourLetterCode("SAVE"), 1, handle, nullptr, "Tester", details),
              SAF::Err::UnknownCommand);
    EXPECT_EQ(saf.Call(Command::CloseData, 12345, &handle, nullptr, "Tester", details), NoError);
}

TEST_F(SafCommands, AnInjectedFailureAnswersItsCodeAndDoesNothing) {
    saf.FailCommand(Command::GetTranslators, 7);
    void* handle = Open();
    GS::Array<GS::UniString> names;
    Json details;
    EXPECT_EQ(saf.Call(Command::GetTranslators, 1, &names, handle, "Tester", details), 7);
    EXPECT_TRUE(names.IsEmpty());
    EXPECT_EQ(details["injected"], true);
    saf.FailCommand(Command::OpenData, 9);
    void* other = nullptr;
    EXPECT_EQ(Call(Command::OpenData, &other, nullptr), 9);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(saf.OpenHandles().size(), 1u);
}

TEST_F(SafCommands, FtrpFillsThePopUpItselfWithTheCurrentTranslatorSelected) {
    DGTest::TestLayouts layouts;
    DG::ModalDialog dialog{DGTest::TestModule, DGTest::ExportSettingsNumber, DGTest::TestModule};
    DG::PopUp popUp{dialog.GetReference(), 4};
    DGTest::Fill(popUp, {"stale"});
    void* handle = Open();
    GS::UniString second = GS::UniString(Names(handle)[1].c_str(), CC_UTF8);
    ASSERT_EQ(Call(Command::SelectTranslator, handle, &second), NoError);
    EXPECT_EQ(Call(Command::FillPopUp, &popUp, handle), NoError);
    EXPECT_EQ(DGTest::Entries(popUp), Names(handle));
    EXPECT_EQ(popUp.GetSelectedItem(), 2);
    EXPECT_EQ(Call(Command::FillPopUp, nullptr, handle), GSErr::BadParameter);
    void* closed = reinterpret_cast<void*>(std::uintptr_t{0x10});
    EXPECT_EQ(Call(Command::FillPopUp, &popUp, closed), SAF::Err::UnknownHandle);
    EXPECT_EQ(Call(Command::CloseData, &handle, nullptr), NoError);
}

// Past the pop-up's stated limit no entry number reaches a translator: those are not shown (rather
// than shown blank under wrapped numbers), and a debug line says how many were left out.
TEST_F(SafCommands, TranslatorsPastThePopUpsLimitAreLeftOutAndCounted) {
    DGTest::TestLayouts layouts;
    DG::ModalDialog dialog{DGTest::TestModule, DGTest::ExportSettingsNumber, DGTest::TestModule};
    DG::PopUp popUp{dialog.GetReference(), 4};
    std::vector<SAF::Translator> many;
    for (int index = 1; index <= 40000; ++index) {
        many.push_back({GS::UniString(("T" + std::to_string(index)).c_str(), CC_UTF8), {"beam"}, "SI"});
    }
    HostTestSupport::DebugCapture debug;
    SAF::FillPopUp(popUp, many, 39999);
    EXPECT_EQ(popUp.GetItemCount(), DG::PopUpEntryLimit);
    EXPECT_EQ(Utf8(popUp.GetItemText(DG::PopUpEntryLimit)), "T32767");
    EXPECT_EQ(popUp.GetSelectedItem(), 0) << "the chosen translator is not among those shown";
    ASSERT_EQ(debug.texts.size(), 1u);
    EXPECT_NE(debug.texts[0].find("7233 of 40000 translators are left out"), std::string::npos)
        << debug.texts[0];
    popUp.AppendItem();
    popUp.InsertItem(1);
    EXPECT_EQ(popUp.GetItemCount(), DG::PopUpEntryLimit) << "the pop-up itself holds no more";
    EXPECT_EQ(Utf8(popUp.GetItemText(1)), "T1");
}

TEST_F(SafCommands, TheDetailsDialogShowsTheOptionsAndOkSelectsWhatTheUserChose) {
    DGTest::ScriptedDriver user;
    std::vector<DG::DialogModel> seen;
    user.script = [&seen](DG::DialogSession& session) {
        seen.push_back(session.Model());
        EXPECT_TRUE(session.Select(4, 3)) << session.Refusal();
        seen.push_back(session.Model());
        EXPECT_TRUE(session.Click(1)) << session.Refusal();
    };
    void* handle = Open();
    const std::vector<std::string> names = Names(handle);
    EXPECT_EQ(Call(Command::ShowDetails, nullptr, &handle), NoError);
    EXPECT_EQ(Selected(handle), names[2]);

    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].title, "SAF Translator Details");
    const DG::ItemModel& before = DGTest::ItemOf(seen[0], 4);
    ASSERT_EQ(before.entries.size(), 3u);
    EXPECT_EQ(before.entries[2].text, names[2]);
    EXPECT_EQ(before.selected, 1);
    EXPECT_EQ(DGTest::ItemOf(seen[0], 6).text, "Unit system: SI");
    EXPECT_EQ(DGTest::ItemOf(seen[1], 5).text, "Element kinds: beam, column, slab, wall, support");
    EXPECT_EQ(Call(Command::CloseData, &handle, nullptr), NoError);
}

TEST_F(SafCommands, CancellingTheDetailsDialogKeepsTheSelection) {
    DGTest::ScriptedDriver user;
    user.script = [](DG::DialogSession& session) {
        EXPECT_TRUE(session.Select(4, 2));
        EXPECT_TRUE(session.Click(2));
    };
    void* handle = Open();
    const std::string before = Selected(handle);
    EXPECT_EQ(Call(Command::ShowDetails, nullptr, &handle), NoError);
    EXPECT_EQ(Selected(handle), before);
    EXPECT_EQ(user.dialogsShown, 1);
    void* closed = nullptr;
    EXPECT_EQ(Call(Command::ShowDetails, nullptr, &closed), SAF::Err::UnknownHandle);
    EXPECT_EQ(Call(Command::ShowDetails, nullptr, nullptr), SAF::Err::UnknownHandle);
    EXPECT_EQ(user.dialogsShown, 1);
    EXPECT_EQ(Call(Command::CloseData, &handle, nullptr), NoError);
}

TEST_F(SafCommands, TenThousandTranslatorsWithRepeatedAndEmptyNamesAllArriveAndSelect) {
    std::vector<SAF::Translator> many;
    for (int index = 0; index < 10000; ++index) {
        const std::string name = index % 1000 == 0 ? "" : "T" + std::to_string(index % 5000);
        many.push_back({GS::UniString(name.c_str()), {"beam"}, "SI"});
    }
    WriteStore(many);
    SAF::SafAddOn large(folder.Path());
    ASSERT_EQ(large.StoreError(), "");
    Json details;
    void* handle = nullptr;
    ASSERT_EQ(large.Call(Command::OpenData, 12345, &handle, nullptr, "Tester", details), NoError);
    GS::Array<GS::UniString> names;
    ASSERT_EQ(large.Call(Command::GetTranslators, 1, &names, handle, "Tester", details), NoError);
    ASSERT_EQ(names.GetSize(), 10000u);
    EXPECT_EQ(Utf8(names[9999]), "T4999");
    for (UIndex index : {0u, 4999u, 9999u}) {
        EXPECT_EQ(large.Call(Command::SelectTranslator, 1, handle, &names[index], "Tester", details),
                  NoError);
        GS::UniString selected("before");
        EXPECT_EQ(large.Call(Command::GetSelected, 1, handle, &selected, "Tester", details), NoError);
        EXPECT_TRUE(selected.IsEqual(names[index]));
    }
    EXPECT_EQ(large.Call(Command::CloseData, 12345, &handle, nullptr, "Tester", details), NoError);
}

// The store is read when the SAF add-on starts; what happens to the file afterwards reaches no
// command of that run, and 'GTRS' replaces whatever the caller's array held.
TEST_F(SafCommands, TheStoreIsReadOnceAtStartAndGtrsHandsOverExactlyItsNames) {
    WriteStore({{GS::UniString("First"), {"beam"}, "SI"}, {GS::UniString("Second"), {"slab"}, "Imperial"}});
    SAF::SafAddOn started(folder.Path());
    ASSERT_EQ(started.StoreError(), "");
    WriteStore({{GS::UniString("Written later"), {"beam"}, "SI"}});
    Json details;
    void* handle = nullptr;
    ASSERT_EQ(started.Call(Command::OpenData, 12345, &handle, nullptr, "Tester", details), NoError);
    GS::Array<GS::UniString> names;
    names.Push(GS::UniString("left over"));
    for (int pass = 0; pass < 2; ++pass) {
        ASSERT_EQ(started.Call(Command::GetTranslators, 1, &names, handle, "Tester", details), NoError);
        ASSERT_EQ(names.GetSize(), 2u) << "pass " << pass;
        EXPECT_EQ(Utf8(names[0]), "First");
        EXPECT_EQ(Utf8(names[1]), "Second");
        std::filesystem::remove(SAF::SafAddOn::StorePath(folder.Path()));
    }
    EXPECT_EQ(started.Call(Command::CloseData, 12345, &handle, nullptr, "Tester", details), NoError);
}

TEST_F(SafCommands, AStoreWithoutTranslatorsOpensButHasNoSelection) {
    WriteStore({});
    SAF::SafAddOn empty(folder.Path());
    Json details;
    void* handle = nullptr;
    ASSERT_EQ(empty.Call(Command::OpenData, 12345, &handle, nullptr, "Tester", details), NoError);
    GS::UniString name;
    EXPECT_EQ(empty.Call(Command::GetSelected, 1, handle, &name, "Tester", details),
              SAF::Err::NoTranslatorSelected);
    EXPECT_EQ(empty.Call(Command::CloseData, 12345, &handle, nullptr, "Tester", details), NoError);
}

} // namespace
