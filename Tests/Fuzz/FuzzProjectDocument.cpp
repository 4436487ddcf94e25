#include "FuzzCheck.hpp"
#include "Services/ProjectDocument.hpp"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

// hostsim's project document, through the file it really opens and saves: the input is the file,
// hostsim opens it, saves it atomically, and the saved file must parse to the same add-on objects and
// model as the input did; formatting that again gives the same bytes.
namespace {

std::filesystem::path WorkFolder() {
    static const std::filesystem::path folder = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "fuzz_project_document.XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        return std::filesystem::path(pattern);
    }();
    return folder;
}

void WriteFile(const std::filesystem::path& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    FUZZ_REQUIRE(out.good(), "the input file is written");
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool SameObjects(const std::vector<HostSim::ObjectStore::Object>& left,
                 const std::vector<HostSim::ObjectStore::Object>& right) {
    if (left.size() != right.size()) {
        return false;
    }
    for (std::size_t index = 0; index < left.size(); ++index) {
        if (!(left[index].guid == right[index].guid) || !(left[index].name == right[index].name) ||
            left[index].content != right[index].content) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const Result<HostSim::ProjectDocument::Contents> first = HostSim::ProjectDocument::Parse(text);
    if (!first) {
        FUZZ_REQUIRE(!first.Error().empty(), "a refused project says why");
        return 0;
    }

    const std::filesystem::path file = WorkFolder() / "project.json";
    WriteFile(file, data, size);
    Result<std::unique_ptr<HostSim::ProjectDocument>> opened = HostSim::ProjectDocument::Open(file.string());
    FUZZ_REQUIRE(opened.Ok(), "a project that parses opens");
    FUZZ_REQUIRE(opened.Value()->Save().Ok(), "an open project saves");

    const std::string saved = ReadFile(file);
    const Result<HostSim::ProjectDocument::Contents> second = HostSim::ProjectDocument::Parse(saved);
    FUZZ_REQUIRE(second.Ok(), "a saved project parses");
    FUZZ_REQUIRE(SameObjects(first->objects, second->objects), "it holds the same add-on objects");
    FUZZ_REQUIRE(first->model.ToJson() == second->model.ToJson(), "it holds the same model");

    Result<std::unique_ptr<HostSim::ProjectDocument>> reopened =
        HostSim::ProjectDocument::Open(file.string());
    FUZZ_REQUIRE(reopened.Ok(), "a saved project opens");
    FUZZ_REQUIRE(reopened.Value()->Format() == saved, "saving it again gives the same bytes");
    return 0;
}
