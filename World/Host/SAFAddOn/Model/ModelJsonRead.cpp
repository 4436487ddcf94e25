#include "JsonDocumentReader.hpp"
#include "JsonObjectReader.hpp"
#include "ModelFault.hpp"
#include "ModelJson.hpp"
#include "ModelReferences.hpp"

#include <fstream>
#include <iterator>

namespace Building {
namespace {

constexpr const char* RestraintNames[6] = {"ux", "uy", "uz", "fix", "fiy", "fiz"};

Restraints ReadRestraintList(JsonObjectReader& reader) {
    Restraints restraints{};
    for (const std::string& name : reader.Texts("rigid", 0)) {
        std::size_t position = 0;
        while (position < 6 && name != RestraintNames[position]) {
            ++position;
        }
        if (position == 6) {
            reader.Fail("\"rigid\" names \"" + name + "\", not one of ux, uy, uz, fix, fiy, fiz");
        }
        restraints[position] = true;
    }
    return restraints;
}

// The lists in the order the model is read and written.
constexpr const char* ListNames[7] = {"materials",      "crossSections", "nodes",   "curveMembers",
                                      "surfaceMembers", "storeys",       "supports"};

// The model's list `list` in `document`: null when it has none; ModelFault when it is no list.
const nlohmann::ordered_json* FoundList(const nlohmann::ordered_json& document, const char* list) {
    const auto found = document.find(list);
    if (found == document.end()) {
        return nullptr;
    }
    if (!found->is_array()) {
        throw ModelFault(std::string(list) + ": not a list");
    }
    return &*found;
}

template <typename Object, typename ReadOne>
std::vector<Object> ReadList(const nlohmann::ordered_json& document, const char* list, ReadOne readOne) {
    std::vector<Object> objects;
    const nlohmann::ordered_json* found = FoundList(document, list);
    if (found == nullptr) {
        return objects;
    }
    for (std::size_t index = 0; index < found->size(); ++index) {
        const nlohmann::ordered_json& item = (*found)[index];
        std::string name;
        if (item.is_object() && item.contains("name") && item["name"].is_string()) {
            name = item["name"].get<std::string>();
        }
        JsonObjectReader reader(item, ObjectPlace(list, index, name));
        objects.push_back(readOne(reader));
        reader.Finish();
    }
    return objects;
}

Material ReadMaterial(JsonObjectReader& reader) {
    Material material;
    material.name = reader.Text("name");
    material.type = reader.Choice("type", {"Concrete", "Steel", "Timber", "Aluminium", "Masonry", "Other"});
    material.quality = reader.Text("quality");
    material.unitMass = reader.Number("unitMass");
    material.eModulus = reader.Number("eModulus");
    material.gModulus = reader.Number("gModulus");
    material.poisson = reader.Number("poisson");
    material.thermalExpansion = reader.Number("thermalExpansion");
    material.id = reader.OptionalText("id");
    return material;
}

CrossSection ReadCrossSection(JsonObjectReader& reader) {
    CrossSection section;
    section.name = reader.Text("name");
    section.material = reader.Text("material");
    section.kind = reader.Choice("kind", {"Parametric", "Manufactured"});
    if (section.kind == "Parametric") {
        section.shape = reader.Text("shape");
        section.parameters = reader.Numbers("parameters");
    } else {
        section.profile = reader.Text("profile");
        section.formCode = reader.Integer("formCode", 1, 8);
    }
    section.id = reader.OptionalText("id");
    return section;
}

Node ReadNode(JsonObjectReader& reader) {
    Node node;
    node.name = reader.Text("name");
    node.x = reader.Number("x");
    node.y = reader.Number("y");
    node.z = reader.Number("z");
    node.id = reader.OptionalText("id");
    return node;
}

CurveMember ReadCurveMember(JsonObjectReader& reader) {
    CurveMember member;
    member.name = reader.Text("name");
    member.type = reader.Choice("type", {"Beam", "Column", "Rafter", "Purlin", "General"});
    member.crossSection = reader.Text("crossSection");
    member.nodes = reader.Texts("nodes", 2);
    member.lcs = reader.OptionalChoice("lcs", {"Y by vector", "Z by vector"}, member.lcs);
    member.lcsVector = reader.OptionalVector("lcsVector", member.lcsVector);
    member.lcsRotation = reader.OptionalNumber("lcsRotation", member.lcsRotation);
    member.systemLine = reader.OptionalChoice(
        "systemLine",
        {"Centre", "Top", "Bottom", "Left", "Right", "Top left", "Top right", "Bottom left", "Bottom right"},
        member.systemLine);
    member.behaviour = reader.OptionalChoice(
        "behaviour", {"Standard", "Axial force only", "Compression only", "Tension only"}, member.behaviour);
    member.layer = reader.OptionalText("layer");
    member.id = reader.OptionalText("id");
    return member;
}

SurfaceMember ReadSurfaceMember(JsonObjectReader& reader) {
    SurfaceMember surface;
    surface.name = reader.Text("name");
    surface.type = reader.Choice("type", {"Plate", "Wall", "Shell"});
    surface.material = reader.Text("material");
    surface.thickness = reader.Number("thickness");
    if (surface.thickness <= 0.0) {
        reader.Fail("\"thickness\" is not above zero");
    }
    surface.systemPlane =
        reader.OptionalChoice("systemPlane", {"Bottom", "Centre", "Top"}, surface.systemPlane);
    surface.nodes = reader.Texts("nodes", 3);
    surface.behaviour = reader.OptionalChoice(
        "behaviour", {"Isotropic", "Orthotropic", "Membrane", "Press only"}, surface.behaviour);
    surface.layer = reader.OptionalText("layer");
    surface.id = reader.OptionalText("id");
    return surface;
}

Storey ReadStorey(JsonObjectReader& reader) {
    Storey storey;
    storey.name = reader.Text("name");
    storey.heightLevel = reader.Number("heightLevel");
    storey.id = reader.OptionalText("id");
    return storey;
}

PointSupport ReadSupport(JsonObjectReader& reader) {
    PointSupport support;
    support.name = reader.Text("name");
    support.type = reader.Choice("type", {"Fixed", "Hinged", "Sliding", "Custom"});
    support.node = reader.Text("node");
    support.restraints = reader.Has("rigid") ? ReadRestraintList(reader) : RestraintsOf(support.type);
    support.id = reader.OptionalText("id");
    return support;
}

void ReadModelTexts(JsonObjectReader& top, Model& model) {
    model.name = top.OptionalText("name");
    model.description = top.OptionalText("description");
    model.nationalCode = top.OptionalText("nationalCode", Model().nationalCode);
}

void FinishModel(JsonObjectReader& top, const Model& model) {
    for (const char* list : ListNames) {
        top.Accept(list);
    }
    top.Finish();
    CheckNamesAndReferences(model);
}

Model ReadWholeModel(const nlohmann::ordered_json& document) {
    JsonObjectReader top(document, "model");
    Model model;
    ReadModelTexts(top, model);
    model.materials = ReadList<Material>(document, "materials", ReadMaterial);
    model.crossSections = ReadList<CrossSection>(document, "crossSections", ReadCrossSection);
    model.nodes = ReadList<Node>(document, "nodes", ReadNode);
    model.curveMembers = ReadList<CurveMember>(document, "curveMembers", ReadCurveMember);
    model.surfaceMembers = ReadList<SurfaceMember>(document, "surfaceMembers", ReadSurfaceMember);
    model.storeys = ReadList<Storey>(document, "storeys", ReadStorey);
    model.supports = ReadList<PointSupport>(document, "supports", ReadSupport);
    FinishModel(top, model);
    return model;
}

} // namespace

Result<Model> ReadModel(const nlohmann::ordered_json& document) {
    try {
        return ReadWholeModel(document);
    } catch (const ModelFault& fault) {
        return Failure{fault.what()};
    }
}

Result<Model> ReadModelText(const std::string& text, const std::function<void(std::size_t)>& progress) {
    const Result<nlohmann::ordered_json> read = JsonDocument::Read(text, JsonDocument::MaxDepth, progress);
    if (!read) {
        return Failure{"not a JSON document: " + read.Error()};
    }
    return ReadModel(read.Value());
}

Result<Model> ReadModelFile(const std::filesystem::path& file) {
    std::error_code failure;
    const std::filesystem::file_status status = std::filesystem::status(file, failure);
    if (status.type() != std::filesystem::file_type::regular) {
        return Failure{file.string() + ": " +
                       (status.type() == std::filesystem::file_type::not_found ? "does not exist"
                                                                               : "is not a regular file")};
    }
    std::ifstream input(file, std::ios::binary);
    if (!input) {
        return Failure{file.string() + ": cannot be opened"};
    }
    const std::string text((std::istreambuf_iterator<char>(input)), std::istreambuf_iterator<char>());
    Result<Model> result = ReadModelText(text);
    if (!result) {
        return Failure{file.string() + ": " + result.Error()};
    }
    return result;
}

} // namespace Building
