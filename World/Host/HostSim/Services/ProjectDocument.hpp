#pragma once

#include "Result/Result.hpp"
#include "Services/ObjectStore.hpp"
#include "Services/ProjectModel.hpp"

#include <nlohmann/json.hpp>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace HostSim {

// The open project: the building model and the add-on objects, kept in one JSON document:
//
//   {"format": "hostsim-project", "version": 1,
//    "model": {...},                                  kept as it is; the model hand-off fills it
//    "addOnObjects": [{"name": "...", "guid": "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX",
//                      "content": "hex digits, two per byte"}]}
//
// Members this host does not know (a newer host's, a person's notes) are kept as they are and
// written back after the known ones: dropping them on save would lose what this host cannot judge.
// A project without a file (no --project) lives in memory only and cannot be saved.
//
// A save does not overwrite a project that changed on disk since it was opened (or last saved): it
// is refused, with a message saying so, and the file is left as the other program wrote it. Merging
// is not done because this host cannot tell which of two choices a person meant (two translator
// choices, two models); the person opens the project again and decides.
class ProjectDocument {
public:
    ProjectDocument() = default;

    // A file that does not exist yet opens as an empty project; the first save creates it. A file that
    // cannot be read or is not a project is refused, naming the file and the place of the fault, and
    // nothing ever writes over it.
    // `progress` hears the bytes read so far and the file's size.
    using ReadProgress = std::function<void(std::size_t bytesRead, std::size_t fileSize)>;
    static Result<std::unique_ptr<ProjectDocument>> Open(const std::string& utf8Path,
                                                         const ReadProgress& progress = {});

    struct Contents {
        std::vector<ObjectStore::Object> objects;
        ProjectModel model;
        nlohmann::ordered_json otherMembers = nlohmann::ordered_json::object();
    };
    // The contents, or where the text stops being a project ("line L, column C: ..." or
    // "member addOnObjects[1].guid: ...").
    static Result<Contents> Parse(const std::string& text,
                                  const std::function<void(std::size_t)>& progress = {});
    std::string Format() const;

    // Writes the document over its file (GS::CarefulFile), under the file's update lock. Says why not
    // when there is no file, it changed on disk since it was read, or it cannot be written; the file
    // on disk is then what it was.
    Result<> Save();

    const std::optional<std::string>& Path() const { return path; }
    // The Digest of the file as this document last read or wrote it; nothing when there was no file.
    // Only the digest and the size are kept, not the bytes: a big project's text would otherwise stay
    // in memory beside the document for the whole session, just to tell whether the file changed.
    std::optional<std::string> DigestOnDisk() const {
        return onDisk ? std::optional<std::string>(onDisk->digest) : std::nullopt;
    }
    // 16 hexadecimal digits that tell one version of the file from another (64-bit FNV-1a), so
    // that a record of saves shows which version each one replaced.
    static std::string Digest(const std::string& bytes);
    // The building model, read once when it came in ({} when the project has none).
    const ProjectModel& Model() const { return model; }
    void SetModel(ProjectModel buildingModel) { model = std::move(buildingModel); }
    ObjectStore& Objects() { return objects; }
    const ObjectStore& Objects() const { return objects; }

private:
    std::optional<std::string> path;
    struct FileVersion {
        std::size_t size = 0;
        std::string digest;
        bool operator==(const FileVersion&) const = default;
    };
    static FileVersion VersionOf(const std::string& bytes) { return {bytes.size(), Digest(bytes)}; }
    std::optional<FileVersion> onDisk;
    ProjectModel model;
    nlohmann::ordered_json otherMembers = nlohmann::ordered_json::object();
    ObjectStore objects;
};

} // namespace HostSim
