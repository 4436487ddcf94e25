#include "FrameBuilding.hpp"
#include "JsonDocumentReader.hpp"
#include "ModelEventReader.hpp"
#include "ModelJson.hpp"
#include "Services/ProjectDocument.hpp"
#include "Services/WorkbookAcceptance.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace HostSim;
using Json = nlohmann::ordered_json;

namespace {

std::string Generated() {
    return Building::ModelToJson(Building::GenerateBuildingWithMembers(12)).dump();
}

// The generated model with the values at `pointers` replaced.
std::string GeneratedWith(const std::vector<std::pair<const char*, Json>>& changes) {
    Json model = Building::ModelToJson(Building::GenerateBuildingWithMembers(12));
    for (const auto& [pointer, value] : changes) {
        model[Json::json_pointer(pointer)] = value;
    }
    return model.dump();
}

std::string ProjectOf(const std::string& model) {
    return R"({"format": "hostsim-project", "version": 1, "model": )" + model + R"(, "addOnObjects": []})";
}

// The text of the (last) model in a project, as a model file would hold it.
std::string ModelTextOf(const std::string& project) {
    const std::size_t start = project.rfind(R"("model": )") + 9;
    return project.substr(start, project.rfind(R"(, "addOnObjects")") - start);
}

// The generated model as this host writes it, with a list "storeys" written before its own.
std::string GeneratedWithAnEarlierStoreyList() {
    std::string text = Generated();
    return text.insert(text.find(R"("storeys":)"), R"("storeys":[{"name":"Early\u0001","heightLevel":0}],)");
}

const std::string Steel = R"({"name": "S235", "type": "Steel", "quality": "S235", "unitMass": 7850,
    "eModulus": 210000, "gModulus": 80769, "poisson": 0.3, "thermalExpansion": 1.2e-5})";
const std::string Column =
    R"({"name": "B1", "type": "Column", "crossSection": "HEA200", "nodes": ["N1", "N2"]})";

// Models written as a person or another program might: the lists read object by object from the
// parser's events must give what reading the whole document as a tree gave, refusals word for word.
TEST(ProjectModelFromEvents, HoldsWhatTheWholeTreeGaveForEveryKindOfModel) {
    const struct {
        const char* what;
        std::string project;
    } cases[] = {
        {"a model this host wrote", ProjectOf(Generated())},
        {"no model", ProjectOf("{}")},
        {"texts XML cannot carry in two lists",
         ProjectOf(
             GeneratedWith({{"/curveMembers/2/layer", "L\x1F"}, {"/storeys/1/name", "S\x7F\xEF\xBF\xBE"}}))},
        {"a text XML cannot carry, written back alike",
         ProjectOf(GeneratedWith({{"/storeys/0/name", "G\x01"}}))},
        {"a whole number where a fraction is written", ProjectOf(GeneratedWith({{"/nodes/3/x", 2}}))},
        {"lists in another order, each with a text XML cannot carry",
         ProjectOf(
             R"({"nodes": [{"name": "N1\u0002", "x": 0, "y": 0, "z": 0}, {"name": "N2", "x": 0, "y": 0, "z": 4}],
                       "materials": [)" +
             Steel + R"(], "crossSections": [{"name": "HEA200", "material": "S235",
                       "kind": "Manufactured", "profile": "HEA200\u0003", "formCode": 1}],
                       "curveMembers": [)" +
             Column + "]}")},
        {"a list written twice: the second counts",
         ProjectOf(R"({"storeys": [{"name": "A\u0001", "heightLevel": 0}, {"name": "B", "heightLevel": 3}],
                       "storeys": [{"name": "C", "heightLevel": 0}]})")},
        {"a list written twice in a model otherwise written back alike",
         ProjectOf(GeneratedWithAnEarlierStoreyList())},
        {"a model written twice: lists only the first had are gone",
         R"({"format": "hostsim-project", "version": 1, "model": {"storeys": [{"name": "A", "heightLevel": 0}]},
             "model": {"name": "second"}, "addOnObjects": []})"},
        {"an object that is not an object",
         ProjectOf(R"({"storeys": [{"name": "A", "heightLevel": 0}, 7]})")},
        {"a list that is not a list", ProjectOf(R"({"nodes": {"name": "N1"}})")},
        {"refused in two lists: the first list read tells",
         ProjectOf(R"({"curveMembers": [{"name": "B1"}], "materials": [{"name": "S1", "type": "Iron"}]})")},
        {"a name that is not a text and a refused list: the name tells",
         ProjectOf(R"({"storeys": [{"name": 1}], "name": 5})")},
        {"an unknown member after a refused list: the list tells",
         ProjectOf(R"({"span": 12, "storeys": [{"name": "A"}]})")},
        {"an unknown member", ProjectOf(R"({"span": 12, "storeys": []})")},
        {"a reference to a node that is not there",
         ProjectOf(GeneratedWith({{"/curveMembers/3/nodes/0", "N-none"}}))},
        {"the third object refused after two read", ProjectOf(GeneratedWith({{"/nodes/2/y", "high"}}))},
        {"an object's members in another order",
         ProjectOf(R"({"storeys": [{"heightLevel": 0, "name": "A"}]})")},
    };
    for (const auto& [what, project] : cases) {
        SCOPED_TRACE(what);
        const ProjectDocument::ParseResult parsed = ProjectDocument::Parse(project);
        ASSERT_TRUE(parsed.objects.has_value()) << parsed.error;
        const JsonDocument::ReadResult tree = JsonDocument::Read(project);
        ASSERT_TRUE(tree.document);
        const Json& model = tree.document->at("model");
        const ProjectModel fromTree(model);
        EXPECT_EQ(parsed.model.Typed().has_value(), fromTree.Typed().has_value());
        EXPECT_EQ(parsed.model.ReadError(), fromTree.ReadError());
        EXPECT_EQ(parsed.model.TextXmlCannotCarry(), fromTree.TextXmlCannotCarry());
        EXPECT_EQ(parsed.model.KeepsText(), fromTree.KeepsText());
        EXPECT_EQ(parsed.model.ToJson().dump(), fromTree.ToJson().dump());

        // The same model as a file of its own (hostsim's --model): the model is written as ModelToJson
        // writes it, so its texts are judged as ModelToJson writes them.
        const std::string modelText = ModelTextOf(project);
        const Json modelTree = *JsonDocument::Read(modelText).document;
        const Building::ModelEventsResult events =
            Building::ReadModelEvents(modelText, ProjectModel::XmlTextCheck());
        const Building::ModelReadResult whole = Building::ReadModel(modelTree);
        EXPECT_EQ(events.read.error, whole.error);
        ASSERT_EQ(events.read.model.has_value(), whole.model.has_value());
        if (whole.model) {
            EXPECT_EQ(Building::ModelToJson(*events.read.model).dump(),
                      Building::ModelToJson(*whole.model).dump());
            EXPECT_EQ(events.writtenAlike, Building::ModelToJsonGives(*whole.model, modelTree));
            EXPECT_EQ(events.textFinding, FindTextXmlCannotCarry(Building::ModelToJson(*whole.model)));
        }
    }
}

// Where the text stops being JSON inside an object handed over one at a time, the place is counted as
// if the list were kept whole.
TEST(ProjectModelFromEvents, FaultsInsideAListNameTheirPlace) {
    const struct {
        std::string text;
        std::string error;
    } cases[] = {
        {ProjectOf(R"({"nodes": [{"name": "N1", "x": 0, "y": 0, "z": 0}, {"name": "N2", "x": 1e400}]})"),
         "member model.nodes[1].x: a number out of range: number overflow parsing '1e400'"},
        {ProjectOf(R"({"storeys": [1, 2, {"name": "S", "heightLevel": [0, -1e999]}]})"),
         "member model.storeys[2].heightLevel[1]: a number out of range: number overflow parsing '-1e999'"},
        {R"({"format": "hostsim-project", "version": 1, "model": {"storeys": [{"name": "S", "heightLevel": 0},
                {"name": )",
         "line 2, column 26: syntax error while parsing value - unexpected end of input; expected '[', '{', "
         "or a "
         "literal"},
    };
    for (const auto& [text, error] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ProjectDocument::Parse(text).error, error);
        EXPECT_EQ(JsonDocument::Read(text).error, error);
    }
}

} // namespace
