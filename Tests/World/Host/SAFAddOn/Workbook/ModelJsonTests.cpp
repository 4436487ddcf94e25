#include "FrameBuilding.hpp"
#include "ModelJson.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>

namespace {

using Json = nlohmann::ordered_json;

// A small valid model: one steel column on two nodes, with a support at its foot.
Json SmallModel() {
    return Json::parse(R"({
        "materials": [{"name": "S235", "type": "Steel", "quality": "S235", "unitMass": 7850, "eModulus": 210000,
                       "gModulus": 80769, "poisson": 0.3, "thermalExpansion": 1.2e-5}],
        "crossSections": [{"name": "HEA200", "material": "S235", "kind": "Manufactured", "profile": "HEA200",
                           "formCode": 1}],
        "nodes": [{"name": "N1", "x": 0, "y": 0, "z": 0}, {"name": "N2", "x": 0, "y": 0, "z": 4}],
        "curveMembers": [{"name": "B1", "type": "Column", "crossSection": "HEA200", "nodes": ["N1", "N2"]}],
        "supports": [{"name": "Sn1", "type": "Hinged", "node": "N1"}]
    })");
}

std::string RefusalOf(const Json& document) {
    const Result<Building::Model> result = Building::ReadModel(document);
    EXPECT_FALSE(result.Ok()) << "accepted although it should be refused";
    return result.Error();
}

TEST(ModelJson, ASmallModelReadsWithTheDefaultsItLeavesOut) {
    const Result<Building::Model> result = Building::ReadModel(SmallModel());
    ASSERT_TRUE(result.Ok()) << result.Error();
    const Building::CurveMember& column = result->curveMembers.at(0);
    EXPECT_EQ(column.nodes, (std::vector<std::string>{"N1", "N2"}));
    EXPECT_EQ(column.systemLine, "Centre");
    EXPECT_EQ(column.behaviour, "Standard");
    EXPECT_EQ(result->supports.at(0).restraints,
              (Building::Restraints{true, true, true, false, false, false}));
}

TEST(ModelJson, TheDemoBuildingSurvivesWritingAndReadingBack) {
    const Building::Model demo = Building::GenerateDemoBuilding();
    const Result<Building::Model> result =
        Building::ReadModel(Json::parse(Building::ModelToJson(demo).dump()));
    ASSERT_TRUE(result.Ok()) << result.Error();
    EXPECT_EQ(Building::ModelToJson(result.Value()), Building::ModelToJson(demo));
}

TEST(ModelJson, CustomRestraintsSurviveWritingAndReadingBack) {
    Json document = SmallModel();
    document["supports"][0] =
        Json::parse(R"({"name": "Sn1", "type": "Custom", "node": "N1", "rigid": ["uz", "fix"]})");
    const Result<Building::Model> first = Building::ReadModel(document);
    ASSERT_TRUE(first.Ok()) << first.Error();
    const Result<Building::Model> second =
        Building::ReadModel(Json::parse(Building::ModelToJson(first.Value()).dump()));
    ASSERT_TRUE(second.Ok()) << second.Error();
    EXPECT_EQ(second->supports.at(0).restraints,
              (Building::Restraints{false, false, true, true, false, false}));
}

TEST(ModelJsonRefusal, NamesTheMemberAndTheUnknownNode) {
    Json document = SmallModel();
    document["curveMembers"][0]["nodes"][1] = "N99";
    EXPECT_EQ(RefusalOf(document), "curveMembers[0] \"B1\": unknown node \"N99\"");
}

TEST(ModelJsonRefusal, NamesADuplicateName) {
    Json document = SmallModel();
    document["nodes"][1]["name"] = "N1";
    EXPECT_EQ(RefusalOf(document), "nodes[1] \"N1\": duplicate name");
}

TEST(ModelJsonRefusal, NamesEveryKindOfBrokenReference) {
    Json section = SmallModel();
    section["crossSections"][0]["material"] = "S355";
    EXPECT_EQ(RefusalOf(section), "crossSections[0] \"HEA200\": unknown material \"S355\"");

    Json member = SmallModel();
    member["curveMembers"][0]["crossSection"] = "IPE300";
    EXPECT_EQ(RefusalOf(member), "curveMembers[0] \"B1\": unknown cross-section \"IPE300\"");

    Json support = SmallModel();
    support["supports"][0]["node"] = "N7";
    EXPECT_EQ(RefusalOf(support), "supports[0] \"Sn1\": unknown node \"N7\"");

    Json surface = SmallModel();
    surface["surfaceMembers"] = Json::parse(
        R"([{"name": "S1", "type": "Plate", "material": "C30/37", "thickness": 200, "nodes": ["N1", "N2", "N1"]}])");
    EXPECT_EQ(RefusalOf(surface), "surfaceMembers[0] \"S1\": unknown material \"C30/37\"");
}

TEST(ModelJsonRefusal, NamesMissingWrongAndUnknownMembers) {
    Json missing = SmallModel();
    missing["nodes"][0].erase("z");
    EXPECT_EQ(RefusalOf(missing), "nodes[0] \"N1\": \"z\" is missing");

    Json wrongType = SmallModel();
    wrongType["nodes"][1]["x"] = "0";
    EXPECT_EQ(RefusalOf(wrongType), "nodes[1] \"N2\": \"x\" is not a number");

    Json misspelt = SmallModel();
    misspelt["curveMembers"][0]["crosssection"] = "HEA200";
    EXPECT_EQ(RefusalOf(misspelt), "curveMembers[0] \"B1\": unknown member \"crosssection\"");

    Json unknownList = SmallModel();
    unknownList["loads"] = Json::array();
    EXPECT_EQ(RefusalOf(unknownList), "model: unknown member \"loads\"");

    Json nameless = SmallModel();
    nameless["materials"][0].erase("name");
    EXPECT_EQ(RefusalOf(nameless), "materials[0]: \"name\" is missing");
}

TEST(ModelJsonRefusal, NamesValuesOutsideTheirChoices) {
    Json type = SmallModel();
    type["materials"][0]["type"] = "Glass";
    EXPECT_EQ(RefusalOf(type), "materials[0] \"S235\": \"type\" is \"Glass\", not one of Concrete, Steel, "
                               "Timber, Aluminium, Masonry, Other");

    Json formCode = SmallModel();
    formCode["crossSections"][0]["formCode"] = 9;
    EXPECT_EQ(RefusalOf(formCode), "crossSections[0] \"HEA200\": \"formCode\" is 9, outside 1..8");

    Json shortMember = SmallModel();
    shortMember["curveMembers"][0]["nodes"] = Json::array({"N1"});
    EXPECT_EQ(RefusalOf(shortMember), "curveMembers[0] \"B1\": \"nodes\" names 1, fewer than 2");

    Json restraint = SmallModel();
    restraint["supports"][0]["rigid"] = Json::array({"ux", "rz"});
    EXPECT_EQ(RefusalOf(restraint),
              "supports[0] \"Sn1\": \"rigid\" names \"rz\", not one of ux, uy, uz, fix, fiy, fiz");
}

// A NUL inside one of the model's texts is shown as an escape, and the message goes on after it.
TEST(ModelJsonRefusal, ANulInAModelTextIsShownAsAnEscape) {
    const std::string nul("\0", 1);
    const struct {
        const char* what;
        std::function<void(Json&)> change;
        std::string refusal;
    } cases[] = {
        {"a choice", [&](Json& model) { model["materials"][0]["type"] = "Gl" + nul + "ass"; },
         "materials[0] \"S235\": \"type\" is \"Gl\\x00ass\", not one of Concrete, Steel, Timber, Aluminium, "
         "Masonry, Other"},
        {"a name and a reference",
         [&](Json& model) {
             model["nodes"][1]["name"] = "N" + nul + "2";
             model["curveMembers"][0]["nodes"][1] = "N" + nul + "9";
         },
         "curveMembers[0] \"B1\": unknown node \"N\\x009\""},
        {"the name of the object at fault",
         [&](Json& model) {
             model["nodes"][1]["name"] = nul + "N2";
             model["nodes"][1].erase("z");
         },
         "nodes[1] \"\\x00N2\": \"z\" is missing"},
        {"an unknown member",
         [&](Json& model) { model["curveMembers"][0]["cross" + nul + "section"] = "HEA200"; },
         "curveMembers[0] \"B1\": unknown member \"cross\\x00section\""},
    };
    for (const auto& [what, change, refusal] : cases) {
        Json document = SmallModel();
        change(document);
        EXPECT_EQ(RefusalOf(document), refusal) << what;
    }
}

TEST(ModelJsonRefusal, RefusesDocumentsThatAreNotModels) {
    EXPECT_EQ(RefusalOf(Json::array()), "model: not an object");
    EXPECT_EQ(RefusalOf(Json::parse(R"({"nodes": {}})")), "nodes: not a list");
    EXPECT_EQ(RefusalOf(Json::parse(R"({"nodes": [7]})")), "nodes[0]: not an object");
}

TEST(ModelJsonFile, AFileThatIsNotJsonIsRefusedWithItsPlace) {
    const std::filesystem::path file = std::filesystem::path(testing::TempDir()) / "broken-model.json";
    {
        std::ofstream out(file, std::ios::binary);
        out << "{\"nodes\": [}";
    }
    const Result<Building::Model> result = Building::ReadModelFile(file);
    EXPECT_FALSE(result.Ok());
    EXPECT_EQ(result.Error().substr(0, file.string().size() + 42),
              file.string() + ": not a JSON document: line 1, column 12: ");
    std::filesystem::remove(file);
}

// What a hostile or unlucky model file holds, and the error it must get instead of an abort or a
// stack overflow.
TEST(ModelJsonFile, HostileDocumentsAreRefusedWithTheirFault) {
    const std::string deep = std::string(20000, '[') + std::string(20000, ']');
    const struct {
        std::string text;
        std::string error;
    } cases[] = {
        {R"({"nodes": [{"name": "N1", "x": 1e400, "y": 0, "z": 0}]})",
         "not a JSON document: member nodes[0].x: a number out of range: number overflow parsing '1e400'"},
        {R"({"nodes": [{"name": "N1", "x": 0, "y": -1e999, "z": 0}]})",
         "not a JSON document: member nodes[0].y: a number out of range: number overflow parsing '-1e999'"},
        {deep, "not a JSON document: arrays and objects nested deeper than 512 levels"},
        {R"({"nodes": )" + deep + "}",
         "not a JSON document: arrays and objects nested deeper than 512 levels"},
    };
    for (const auto& [text, error] : cases) {
        const Result<Building::Model> result = Building::ReadModelText(text);
        EXPECT_FALSE(result.Ok());
        EXPECT_EQ(result.Error(), error);
    }
}

TEST(ModelJsonFile, AnythingButARegularFileIsRefusedBeforeItIsOpened) {
    const std::filesystem::path folder = std::filesystem::path(testing::TempDir()) / "model-folder.json";
    std::filesystem::create_directories(folder);
    const Result<Building::Model> result = Building::ReadModelFile(folder);
    EXPECT_EQ(result.Error(), folder.string() + ": is not a regular file");
    std::filesystem::remove(folder);
    EXPECT_EQ(Building::ReadModelFile(folder).Error(), folder.string() + ": does not exist");
}

TEST(DemoBuilding, TheShippedFileIsTheGeneratorsDemoBuilding) {
    const Result<Building::Model> shipped = Building::ReadModelFile(DEMO_BUILDING_PATH);
    ASSERT_TRUE(shipped.Ok()) << shipped.Error();
    EXPECT_EQ(Building::ModelToJson(shipped.Value()),
              Building::ModelToJson(Building::GenerateDemoBuilding()));
}

TEST(DemoBuilding, IsASmallTwoStoreySteelAndConcreteFrame) {
    const Building::Model demo = Building::GenerateDemoBuilding();
    ASSERT_EQ(demo.materials.size(), 2u);
    EXPECT_EQ(demo.materials[0].name, "S235");
    EXPECT_EQ(demo.materials[1].name, "C30/37");
    EXPECT_EQ(demo.nodes.size(), 36u); // 4 x 3 grid on three levels
    EXPECT_EQ(demo.surfaceMembers.size(), 2u);
    EXPECT_EQ(demo.storeys.size(), 3u);
    std::size_t columns = 0;
    for (const Building::CurveMember& member : demo.curveMembers) {
        columns += member.type == "Column" ? 1u : 0u;
    }
    EXPECT_EQ(columns, 24u);
    EXPECT_EQ(demo.curveMembers.size() - columns, 34u);
}

TEST(GeneratedBuilding, HasExactlyTheMembersAskedForAndReadsBackValid) {
    for (const std::size_t count : {std::size_t{1}, std::size_t{100}, std::size_t{2500}}) {
        const Building::Model model = Building::GenerateBuildingWithMembers(count);
        EXPECT_EQ(model.curveMembers.size(), count);
        const Result<Building::Model> result =
            Building::ReadModel(Json::parse(Building::ModelToJson(model).dump()));
        EXPECT_TRUE(result.Ok()) << count << " members: " << result.Error();
    }
}

} // namespace
