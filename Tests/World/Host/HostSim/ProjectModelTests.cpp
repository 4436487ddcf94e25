#include "FrameBuilding.hpp"
#include "ModelJson.hpp"
#include "Services/ProjectModel.hpp"
#include "Services/WorkbookAcceptance.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace HostSim;
using Json = nlohmann::ordered_json;

namespace {

Json Generated() {
    return Building::ModelToJson(Building::GenerateBuildingWithMembers(40));
}

struct Case {
    const char* what;
    std::function<Json()> model;
    bool keepsText; // whether the typed model alone could not give the same JSON back
};

// Whatever the model, the project writes back the very JSON it read, and 'SAVE' judges it as it would
// have judged that JSON: the same model read, the same refusals in the same words.
TEST(ProjectModel, GivesBackTheJsonItReadAndJudgesItAsTheReaderDoes) {
    const std::vector<Case> cases{
        {"a model this host wrote", Generated, false},
        {"no model", [] { return Json::object(); }, true},
        {"defaults left out", [] { return Json::parse(R"({"storeys": [{"name": "Ground"}]})"); }, true},
        {"a whole number where a fraction is written",
         [] {
             Json model = Generated();
             model["nodes"][0]["x"] = 2;
             return model;
         },
         true},
        {"members in another order",
         [] {
             Json model = Generated();
             Json& member = model["curveMembers"][0];
             Json reordered = Json::object();
             for (auto it = member.rbegin(); it != member.rend(); ++it) {
                 reordered[it.key()] = it.value();
             }
             member = reordered;
             return model;
         },
         true},
        {"a node the reader refuses",
         [] {
             Json model = Generated();
             model["curveMembers"][3]["nodes"][0] = "N-missing";
             return model;
         },
         true},
        {"a member the reader does not know", [] { return Json::parse(R"({"span": 12})"); }, true},
        {"a text XML cannot carry",
         [] {
             Json model = Generated();
             model["storeys"][0]["name"] = "Ground\x01";
             return model;
         },
         false},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.what);
        const Json json = row.model();
        const ProjectModel held(json);
        const Result<Building::Model> read = Building::ReadModel(json);
        EXPECT_EQ(held.ToJson().dump(), json.dump());
        EXPECT_EQ(held.KeepsText(), row.keepsText);
        EXPECT_EQ(held.Typed().has_value(), read.Ok());
        EXPECT_EQ(held.ReadError(), read.Error());
        EXPECT_EQ(held.TextXmlCannotCarry(), FindTextXmlCannotCarry(json));
        if (read) {
            EXPECT_EQ(Building::ModelToJson(*held.Typed()).dump(),
                      Building::ModelToJson(read.Value()).dump());
        }
    }
}

TEST(ProjectModel, AModelHandedOverIsWrittenAsItsJsonAndItsTextsAreJudgedAlike) {
    Building::Model model = Building::GenerateBuildingWithMembers(40);
    model.curveMembers[1].layer = "Beams\x1F";
    const Json json = Building::ModelToJson(model);
    const ProjectModel held(std::move(model));
    EXPECT_FALSE(held.KeepsText());
    EXPECT_EQ(held.ToJson().dump(), json.dump());
    EXPECT_EQ(held.TextXmlCannotCarry(), FindTextXmlCannotCarry(json));
    EXPECT_FALSE(held.TextXmlCannotCarry().empty());
}

} // namespace
