#include "Services/SafSave.hpp"

#include "FrameBuilding.hpp"
#include "ModelJson.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

using namespace HostSim;

namespace {

class SafSaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device random;
        folder = std::filesystem::temp_directory_path() / ("hostsim-saf-save-" + std::to_string(random()));
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    void WriteEarlier() const { std::ofstream(target(), std::ios::binary) << "earlier"; }
    std::string Earlier() const {
        std::ifstream file(target(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }

    static std::size_t RowsOf(const SafSaveOutcome& outcome, const std::string& sheet) {
        for (const SafWorkbook::SheetCount& count : outcome.sheets) {
            if (count.sheet == sheet) {
                return count.objects;
            }
        }
        ADD_FAILURE() << "no sheet " << sheet;
        return 0;
    }

    std::filesystem::path folder;
    std::filesystem::path target() const { return folder / "ACToVELDEngineer.xlsx"; }
    const std::vector<SAF::Translator> translators = SAF::DefaultTranslators();
    const nlohmann::ordered_json demo = Building::ModelToJson(Building::GenerateDemoBuilding());
};

TEST_F(SafSaveTest, TheNamedTranslatorShapesTheWorkbook) {
    const SafSaveOutcome all =
        SaveSafWorkbook(demo, translators, GS::UniString("Structural Analysis (SI)"), target());
    ASSERT_EQ(all.code, NoError) << all.reason;
    EXPECT_EQ(RowsOf(all, "StructuralCurveMember"), 58u);
    EXPECT_GT(all.bytes, 0u);
    EXPECT_EQ(std::filesystem::file_size(target()), all.bytes);

    SAF::Translator columnsOnly{GS::UniString("Columns"), {"column"}, "Imperial"};
    const SafSaveOutcome columns = SaveSafWorkbook(demo, {columnsOnly}, GS::UniString("Columns"), target());
    ASSERT_EQ(columns.code, NoError) << columns.reason;
    EXPECT_LT(RowsOf(columns, "StructuralCurveMember"), 58u);
    EXPECT_GT(RowsOf(columns, "StructuralCurveMember"), 0u);
    EXPECT_EQ(RowsOf(columns, "StructuralSurfaceMember"), 0u);
    EXPECT_EQ(RowsOf(columns, "StructuralPointSupport"), 0u);
    EXPECT_EQ(std::filesystem::file_size(target()), columns.bytes) << "the second save replaces the first";
}

TEST_F(SafSaveTest, TranslatorKindsAndUnitsBecomeWriterOptions) {
    const SafWorkbook::ExportOptions members =
        ExportOptionsOf(SAF::Translator{GS::UniString("m"), {"member", "wall"}, "Imperial"});
    EXPECT_TRUE(members.kinds.beams);
    EXPECT_FALSE(members.kinds.columns);
    EXPECT_TRUE(members.kinds.walls);
    EXPECT_FALSE(members.kinds.slabs);
    EXPECT_FALSE(members.kinds.supports);
    EXPECT_TRUE(members.kinds.storeys);
    EXPECT_EQ(members.unitSystem, SafWorkbook::UnitSystem::Imperial);
    EXPECT_EQ(ExportOptionsOf(SAF::Translator{GS::UniString("s"), {}, "SI"}).unitSystem,
              SafWorkbook::UnitSystem::Metric);
}

TEST_F(SafSaveTest, AnUnknownTranslatorOrAnUnreadableModelWritesNothing) {
    WriteEarlier();
    const SafSaveOutcome unknown =
        SaveSafWorkbook(demo, translators, GS::UniString("structural analysis (si)"), target());
    EXPECT_EQ(unknown.code, SaveTranslatorUnknown);
    nlohmann::ordered_json broken = demo;
    broken["curveMembers"][0]["crossSection"] = "NoSuchSection";
    const SafSaveOutcome unreadable =
        SaveSafWorkbook(broken, translators, GS::UniString("Structural Analysis (SI)"), target());
    EXPECT_EQ(unreadable.code, SaveModelUnusable);
    EXPECT_NE(unreadable.reason.find("NoSuchSection"), std::string::npos) << unreadable.reason;
    EXPECT_EQ(Earlier(), "earlier");
}

TEST_F(SafSaveTest, AProjectWithoutAModelGivesAWorkbookOfEmptySheets) {
    const SafSaveOutcome empty = SaveSafWorkbook(nlohmann::ordered_json::object(), translators,
                                                 GS::UniString("Structural Analysis (SI)"), target());
    ASSERT_EQ(empty.code, NoError) << empty.reason;
    EXPECT_EQ(empty.sheets.size(), 9u);
    for (const SafWorkbook::SheetCount& sheet : empty.sheets) {
        if (sheet.sheet != "Model" && sheet.sheet != "Project") {
            EXPECT_EQ(sheet.objects, 0u) << sheet.sheet;
        }
    }
    EXPECT_TRUE(std::filesystem::exists(target()));
}

TEST_F(SafSaveTest, AFolderThatIsMissingFailsTheWrite) {
    const SafSaveOutcome missing =
        SaveSafWorkbook(demo, translators, GS::UniString("Structural Analysis (SI)"),
                        folder / "missing" / "ACToVELDEngineer.xlsx");
    EXPECT_EQ(missing.code, SaveWriteFailed);
    EXPECT_FALSE(missing.reason.empty());
    EXPECT_FALSE(std::filesystem::exists(folder / "missing"));
}

} // namespace

namespace {

// Workbooks VELD Engineer's reader would refuse, or texts no XML can hold: the save fails with its
// own code, and the earlier file stays.
TEST_F(SafSaveTest, WhatTheReaderCannotTakeIsRefusedAndTheEarlierFileStays) {
    nlohmann::ordered_json withFffe = demo;
    withFffe["description"] = "a \xEF\xBF\xBE in the text";
    nlohmann::ordered_json withFfff = demo;
    withFfff["nodes"][2]["name"] = "N\xEF\xBF\xBF";
    nlohmann::ordered_json withControl = demo;
    withControl["storeys"][0]["name"] = "Level\x01";
    const struct {
        nlohmann::ordered_json model;
        WorkbookLimits limits;
        GSErrCode code;
        std::string reason;
    } cases[] = {
        {withFffe, {}, SaveTextNotWritable, "member description holds U+FFFE, which XML 1.0 cannot carry"},
        {withFfff, {}, SaveTextNotWritable, "member nodes[2].name holds U+FFFF"},
        {withControl, {}, SaveTextNotWritable, "member storeys[0].name holds U+0001"},
        {demo, WorkbookLimits{4096}, SaveTooLargeForReader,
         "VELD Engineer reads no part larger than 4096 bytes"},
    };
    for (const auto& [model, limits, code, reason] : cases) {
        WriteEarlier();
        const SafSaveOutcome outcome =
            SaveSafWorkbook(model, translators, GS::UniString("Structural Analysis (SI)"), target(), limits);
        EXPECT_EQ(outcome.code, code) << outcome.reason;
        EXPECT_NE(outcome.reason.find(reason), std::string::npos) << outcome.reason;
        EXPECT_EQ(Earlier(), "earlier");
        // A workbook refused once written leaves no temporary file behind either.
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1) << reason;
    }
    // Tab, line feed and carriage return are XML characters.
    nlohmann::ordered_json withTab = demo;
    withTab["description"] = "one\ttwo\r\nthree";
    const SafSaveOutcome tab =
        SaveSafWorkbook(withTab, translators, GS::UniString("Structural Analysis (SI)"), target());
    EXPECT_EQ(tab.code, NoError) << tab.reason;
}

} // namespace
