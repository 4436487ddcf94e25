#include "Services/ProjectDocument.hpp"

#include "CarefulFile.hpp"
#include "HexDigits.hpp"
#include "JsonDocumentReader.hpp"
#include "JsonFault.hpp"
#include "Record/PathText.hpp"
#include "Record/ReadableText.hpp"

#include <cstdint>
#include <cstdio>
#include <exception>

namespace HostSim {

namespace {

using Json = nlohmann::ordered_json;

constexpr const char* FormatName = "hostsim-project";
constexpr int FormatVersion = 1;

std::optional<std::vector<char>> BytesOfHex(const std::string& hex) {
    if (hex.size() % 2 != 0) {
        return std::nullopt;
    }
    std::vector<char> bytes;
    bytes.reserve(hex.size() / 2);
    for (std::size_t index = 0; index < hex.size(); index += 2) {
        const int high = GS::HexDigitValue(hex[index]);
        const int low = GS::HexDigitValue(hex[index + 1]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        bytes.push_back(static_cast<char>(high * 16 + low));
    }
    return bytes;
}

// Empty when the entry is a usable object; otherwise what is wrong with which member.
std::string ReadObject(const Json& entry, ObjectStore::Object& object) {
    if (!entry.is_object()) {
        return ": not an object";
    }
    const auto name = entry.find("name");
    if (name == entry.end() || !name->is_string()) {
        return ".name: missing or not text";
    }
    const std::string nameText = name->get<std::string>();
    object.name = GS::UniString::FromUTF8(nameText.data(), static_cast<UIndex>(nameText.size()));
    const auto guid = entry.find("guid");
    if (guid == entry.end() || !guid->is_string() ||
        !GS::Guid::Parse(guid->get<std::string>().c_str(), object.guid) || object.guid.IsNull()) {
        return ".guid: missing or not a GUID";
    }
    const auto content = entry.find("content");
    std::optional<std::vector<char>> bytes;
    if (content == entry.end() || !content->is_string() ||
        !(bytes = BytesOfHex(content->get<std::string>()))) {
        return ".content: missing or not hex digits in pairs";
    }
    object.content = std::move(*bytes);
    return {};
}

} // namespace

Result<ProjectDocument::Contents> ProjectDocument::Parse(const std::string& text,
                                                         const std::function<void(std::size_t)>& progress) {
    Result<Json> read = JsonDocument::Read(text, JsonDocument::MaxDepth, progress);
    if (!read) {
        return Failure{read.Error()};
    }
    Json& document = read.Value();
    if (!document.is_object()) {
        return Failure{"the document is not a JSON object"};
    }
    const auto format = document.find("format");
    if (format == document.end() || !format->is_string() || *format != FormatName) {
        return Failure{"member format: missing, or not \"" + std::string(FormatName) + "\""};
    }
    const auto version = document.find("version");
    if (version == document.end() || !version->is_number_integer() || *version != FormatVersion) {
        return Failure{"member version: missing, or not " + std::to_string(FormatVersion)};
    }
    const auto model = document.find("model");
    if (model == document.end() || !model->is_object()) {
        return Failure{"member model: missing or not an object"};
    }
    Contents contents;
    for (const auto& [name, value] : document.items()) {
        if (name != "format" && name != "version" && name != "model" && name != "addOnObjects") {
            contents.otherMembers[name] = value;
        }
    }
    const auto list = document.find("addOnObjects");
    if (list == document.end() || !list->is_array()) {
        return Failure{"member addOnObjects: missing or not a list"};
    }
    for (std::size_t index = 0; index < list->size(); ++index) {
        ObjectStore::Object object;
        if (std::string fault = ReadObject((*list)[index], object); !fault.empty()) {
            return Failure{"member addOnObjects[" + std::to_string(index) + "]" + fault};
        }
        contents.objects.push_back(std::move(object));
    }
    contents.model = ProjectModel(*model);
    return contents;
}

std::string ProjectDocument::Format() const {
    Json list = Json::array();
    for (const ObjectStore::Object& object : objects.All()) {
        list.push_back({{"name", SAF::Utf8Of(object.name)},
                        {"guid", object.guid.ToUniString().ToUTF8().Get()},
                        {"content", HexOf(reinterpret_cast<const UInt8*>(object.content.data()),
                                          object.content.size())}});
    }
    Json document;
    document["format"] = FormatName;
    document["version"] = FormatVersion;
    document["model"] = model.ToJson();
    document["addOnObjects"] = std::move(list);
    for (const auto& [name, value] : otherMembers.items()) {
        document[name] = value;
    }
    return document.dump(2) + "\n";
}

Result<std::unique_ptr<ProjectDocument>> ProjectDocument::Open(const std::string& utf8Path,
                                                               const ReadProgress& progress) {
    auto project = std::make_unique<ProjectDocument>();
    project->path = utf8Path;
    std::string text, error;
    switch (GS::CarefulFile::ReadRegularFile(PathFromUtf8(utf8Path), text, error)) {
    case GS::CarefulFile::ReadOutcome::Missing:
        return project;
    case GS::CarefulFile::ReadOutcome::Refused:
        return Failure{"project " + utf8Path + ": " + error};
    case GS::CarefulFile::ReadOutcome::Read:
        break;
    }
    Result<Contents> parsed =
        progress ? Parse(text, [&](std::size_t bytesRead) { progress(bytesRead, text.size()); })
                 : Parse(text);
    if (!parsed) {
        return Failure{"project " + utf8Path + " is not usable: " + parsed.Error()};
    }
    project->model = std::move(parsed->model);
    project->otherMembers = std::move(parsed->otherMembers);
    project->objects.Load(std::move(parsed->objects));
    project->onDisk = VersionOf(text);
    return project;
}

std::string ProjectDocument::Digest(const std::string& bytes) {
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (const char byte : bytes) {
        hash = (hash ^ static_cast<unsigned char>(byte)) * 0x100000001b3u;
    }
    char text[17];
    std::snprintf(text, sizeof(text), "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

Result<> ProjectDocument::Save() {
    if (!path) {
        return Failure{"this project has no file: start hostsim with --project FILE to save"};
    }
    const std::filesystem::path file = PathFromUtf8(*path);
    GS::CarefulFile::UpdateLock lock;
    std::string current, error;
    if (!lock.Acquire(file, error)) {
        return Failure{error};
    }
    const GS::CarefulFile::ReadOutcome read = GS::CarefulFile::ReadRegularFile(file, current, error);
    if (read == GS::CarefulFile::ReadOutcome::Refused) {
        return Failure{error};
    }
    const bool unchanged =
        read == GS::CarefulFile::ReadOutcome::Missing ? !onDisk.has_value() : onDisk == VersionOf(current);
    if (!unchanged) {
        return Failure{"project " + *path +
                       " changed on disk since it was opened (another program wrote or removed it); " +
                       "not saved, so that those changes are not lost: open the project again"};
    }
    std::string text;
    try {
        text = Format();
    } catch (const std::exception& failure) {
        return Failure{"project " + *path + " not saved: " + failure.what()};
    }
    if (!GS::CarefulFile::ReplaceFile(file, text, error)) {
        return Failure{error};
    }
    onDisk = VersionOf(text);
    return {};
}

} // namespace HostSim
