#include "JsonDocumentReader.hpp"
#include "JsonObjectReader.hpp"
#include "ModelFault.hpp"
#include "ModelJson.hpp"
#include "ModelObjectJson.hpp"
#include "ModelReferences.hpp"

#include <fstream>
#include <iterator>
#include <type_traits>

namespace Building {
namespace {

constexpr const char* RestraintNames[6] = {"ux", "uy", "uz", "fix", "fiy", "fiz"};

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

PointSupport ReadSupport(JsonObjectReader& reader) {
    PointSupport support;
    support.name = reader.Text("name");
    support.type = reader.Choice("type", {"Fixed", "Hinged", "Sliding", "Custom"});
    support.node = reader.Text("node");
    support.restraints = reader.Has("rigid") ? ReadRestraintList(reader) : RestraintsOf(support.type);
    support.id = reader.OptionalText("id");
    return support;
}

// The lists in the order the model is read and written.
constexpr const char* ListNames[7] = {"materials",      "crossSections", "nodes",   "curveMembers",
                                      "surfaceMembers", "storeys",       "supports"};

int ListNumber(const std::string& key) {
    for (int number = 0; number < 7; ++number) {
        if (key == ListNames[number]) {
            return number;
        }
    }
    return -1;
}

template <typename Object, typename ReadOne>
Object ReadListItem(const char* list, std::size_t index, const nlohmann::ordered_json& item,
                    ReadOne readOne) {
    std::string name;
    if (item.is_object() && item.contains("name") && item["name"].is_string()) {
        name = item["name"].get<std::string>();
    }
    JsonObjectReader reader(item, ObjectPlace(list, index, name));
    Object object = readOne(reader);
    reader.Finish();
    return object;
}

template <typename Object, typename ReadOne>
std::vector<Object> ReadList(const nlohmann::ordered_json& document, const char* list, ReadOne readOne) {
    std::vector<Object> objects;
    const auto found = document.find(list);
    if (found == document.end()) {
        return objects;
    }
    if (!found->is_array()) {
        throw ModelFault(std::string(list) + ": not a list");
    }
    for (std::size_t index = 0; index < found->size(); ++index) {
        objects.push_back(ReadListItem<Object>(list, index, (*found)[index], readOne));
    }
    return objects;
}

Model ReadWholeModel(const nlohmann::ordered_json& document) {
    JsonObjectReader top(document, "model");
    Model model;
    model.name = top.OptionalText("name");
    model.description = top.OptionalText("description");
    model.nationalCode = top.OptionalText("nationalCode", model.nationalCode);
    model.materials = ReadList<Material>(document, "materials", ReadMaterial);
    model.crossSections = ReadList<CrossSection>(document, "crossSections", ReadCrossSection);
    model.nodes = ReadList<Node>(document, "nodes", ReadNode);
    model.curveMembers = ReadList<CurveMember>(document, "curveMembers", ReadCurveMember);
    model.surfaceMembers = ReadList<SurfaceMember>(document, "surfaceMembers", ReadSurfaceMember);
    model.storeys = ReadList<Storey>(document, "storeys", ReadStorey);
    model.supports = ReadList<PointSupport>(document, "supports", ReadSupport);
    for (const char* list : ListNames) {
        top.Accept(list);
    }
    top.Finish();
    CheckNamesAndReferences(model);
    return model;
}

// Calls `visit` with the model's list `number` (ListNames' order), the reader of one of its objects
// and its writer.
template <typename Visit>
void VisitList(Model& model, std::size_t number, Visit visit) {
    switch (number) {
    case 0:
        visit(model.materials, ReadMaterial, MaterialJson);
        break;
    case 1:
        visit(model.crossSections, ReadCrossSection, CrossSectionJson);
        break;
    case 2:
        visit(model.nodes, ReadNode, NodeJson);
        break;
    case 3:
        visit(model.curveMembers, ReadCurveMember, CurveMemberJson);
        break;
    case 4:
        visit(model.surfaceMembers, ReadSurfaceMember, SurfaceMemberJson);
        break;
    case 5:
        visit(model.storeys, ReadStorey, StoreyJson);
        break;
    default:
        visit(model.supports, ReadSupport, SupportJson);
        break;
    }
}

} // namespace

ModelEventReader::ModelEventReader(TextCheck textCheck, bool compareWritten)
    : check(std::move(textCheck)), compare(compareWritten) {}

JsonDocument::ListItems ModelEventReader::Lists(std::size_t depth, std::string objectSlot) {
    JsonDocument::ListItems hooks;
    hooks.handOver = [this, depth, slot = std::move(objectSlot)](std::size_t at, const std::string& objectAt,
                                                                 const std::string& key) {
        const int number = at == depth && objectAt == slot ? ListNumber(key) : -1;
        if (number < 0) {
            return false;
        }
        // A list met again (a member written twice) replaces the first, as it does in a document.
        Clear(static_cast<std::size_t>(number));
        return true;
    };
    hooks.take = [this](const std::string& key, std::size_t index, nlohmann::ordered_json&& item) {
        Take(key, index, item);
    };
    return hooks;
}

void ModelEventReader::Clear(std::size_t number) {
    lists[number] = ListState{};
    VisitList(model, number,
              [](auto& objects, auto, auto) { std::decay_t<decltype(objects)>().swap(objects); });
}

// One object of a list as the parser finished it: read into the typed model unless the list was
// already refused, written again to compare it with what was read, and checked.
void ModelEventReader::Take(const std::string& key, std::size_t index, const nlohmann::ordered_json& item) {
    const auto number = static_cast<std::size_t>(ListNumber(key));
    ListState& state = lists[number];
    if (!state.fault.empty()) {
        return;
    }
    VisitList(model, number, [&](auto& objects, auto readOne, auto write) {
        using Object = typename std::decay_t<decltype(objects)>::value_type;
        try {
            objects.push_back(ReadListItem<Object>(ListNames[number], index, item, readOne));
        } catch (const ModelFault& refused) {
            state.fault = refused.what();
            return;
        }
        if (!(compare && state.alike) && !(check && state.finding.empty())) {
            return;
        }
        const nlohmann::ordered_json written = write(objects.back());
        state.alike = state.alike && compare && WrittenAlike(written, item);
        if (check && state.finding.empty()) {
            state.finding =
                check(written, std::string(ListNames[number]) + "[" + std::to_string(index) + "]");
        }
    });
}

ModelEventsResult ModelEventReader::Finish(const nlohmann::ordered_json& rest) {
    ModelEventsResult result;
    try {
        // ReadWholeModel's steps in its order, the lists' objects already read.
        JsonObjectReader top(rest, "model");
        model.name = top.OptionalText("name");
        model.description = top.OptionalText("description");
        model.nationalCode = top.OptionalText("nationalCode", Model().nationalCode);
        for (std::size_t number = 0; number < lists.size(); ++number) {
            const auto found = rest.find(ListNames[number]);
            if (found == rest.end()) {
                Clear(number); // read inside a model object that a later one of the same name replaced
                continue;
            }
            if (!found->is_array()) {
                throw ModelFault(std::string(ListNames[number]) + ": not a list");
            }
            if (!lists[number].fault.empty()) {
                throw ModelFault(lists[number].fault);
            }
        }
        for (const char* list : ListNames) {
            top.Accept(list);
        }
        top.Finish();
        CheckNamesAndReferences(model);
    } catch (const ModelFault& fault) {
        result.read.error = fault.what();
        return result;
    }
    result.writtenAlike = compare && RestWrittenAlike(rest);
    result.textFinding = FirstFinding();
    result.read.model = std::move(model);
    return result;
}

bool ModelEventReader::RestWrittenAlike(const nlohmann::ordered_json& rest) const {
    static constexpr const char* Order[] = {"name",          "description", "nationalCode", "materials",
                                            "crossSections", "nodes",       "curveMembers", "surfaceMembers",
                                            "storeys",       "supports"};
    if (rest.size() != std::size(Order)) {
        return false;
    }
    std::size_t index = 0;
    for (auto member = rest.begin(); member != rest.end(); ++member, ++index) {
        if (member.key() != Order[index]) {
            return false;
        }
    }
    for (const ListState& list : lists) {
        if (!list.alike) {
            return false;
        }
    }
    return WrittenAlike(nlohmann::ordered_json(model.name), rest["name"]) &&
           WrittenAlike(nlohmann::ordered_json(model.description), rest["description"]) &&
           WrittenAlike(nlohmann::ordered_json(model.nationalCode), rest["nationalCode"]);
}

std::string ModelEventReader::FirstFinding() const {
    if (!check) {
        return {};
    }
    for (const auto& [text, path] :
         {std::pair{&model.name, "name"}, std::pair{&model.description, "description"},
          std::pair{&model.nationalCode, "nationalCode"}}) {
        if (std::string found = check(nlohmann::ordered_json(*text), path); !found.empty()) {
            return found;
        }
    }
    for (const ListState& list : lists) {
        if (!list.finding.empty()) {
            return list.finding;
        }
    }
    return {};
}

namespace {

ModelEventsResult ReadThrough(ModelEventReader& reader, const std::string& text,
                              const std::function<void(std::size_t)>& progress) {
    JsonDocument::ReadResult read = JsonDocument::Read(text, reader.Lists(1, ""), progress);
    if (!read.document) {
        ModelEventsResult result;
        result.read.error = "not a JSON document: " + read.error;
        return result;
    }
    return reader.Finish(*read.document);
}

} // namespace

ModelEventsResult ReadModelEvents(const std::string& text, const TextCheck& check,
                                  const std::function<void(std::size_t)>& progress) {
    ModelEventReader reader(check);
    return ReadThrough(reader, text, progress);
}

ModelReadResult ReadModel(const nlohmann::ordered_json& document) {
    try {
        return {ReadWholeModel(document), {}};
    } catch (const ModelFault& fault) {
        return {std::nullopt, fault.what()};
    }
}

ModelReadResult ReadModelText(const std::string& text, const std::function<void(std::size_t)>& progress) {
    ModelEventReader reader({}, false);
    return ReadThrough(reader, text, progress).read;
}

ModelReadResult ReadModelFile(const std::filesystem::path& file) {
    std::error_code failure;
    const std::filesystem::file_status status = std::filesystem::status(file, failure);
    if (status.type() != std::filesystem::file_type::regular) {
        return {std::nullopt,
                file.string() + ": " +
                    (status.type() == std::filesystem::file_type::not_found ? "does not exist"
                                                                            : "is not a regular file")};
    }
    std::ifstream input(file, std::ios::binary);
    if (!input) {
        return {std::nullopt, file.string() + ": cannot be opened"};
    }
    const std::string text((std::istreambuf_iterator<char>(input)), std::istreambuf_iterator<char>());
    ModelReadResult result = ReadModelText(text);
    if (!result.model) {
        result.error = file.string() + ": " + result.error;
    }
    return result;
}

} // namespace Building
