#include "Session/DataFolder.hpp"

#include "GSPref.hpp"
#include "Record/PathText.hpp"

#include <system_error>

namespace HostSim {

namespace {

Result<> MakeFolder(const std::filesystem::path& folder) {
    std::error_code failure;
    std::filesystem::create_directories(folder, failure);
    if (failure || !std::filesystem::is_directory(folder)) {
        return Failure{"cannot make folder " + PathToUtf8(folder) +
                       (failure ? ": " + failure.message() : std::string())};
    }
    return {};
}

} // namespace

Result<> PrepareRegistryFolder(const std::string& home) {
    const std::filesystem::path registry = PathFromUtf8(home) / "Registry";
    Result<> made = MakeFolder(registry);
    if (made) {
        GSPref::SetStoreFolder(PathToUtf8(registry).c_str());
    }
    return made;
}

std::filesystem::path HiveFileOf(const std::string& home, GSPref::RootKeyDomain domain) {
    return PathFromUtf8(home) / "Registry" /
           (domain == GSPref::RootKeyDomain::CurrentUser ? "CurrentUser.reg" : "LocalMachine.reg");
}

std::map<Int32, std::string> PrepareSpecialFolders(const std::string& home,
                                                   const std::map<Int32, std::string>& given,
                                                   std::string& error) {
    std::map<Int32, std::string> folders = given;
    if (!folders.contains(ExportFolderNumber)) {
        // Absolute: add-ons receive it as a location and build file paths on it.
        const std::filesystem::path exportFolder = std::filesystem::absolute(PathFromUtf8(home) / "Export");
        if (const Result<> made = MakeFolder(exportFolder)) {
            folders[ExportFolderNumber] = PathToUtf8(exportFolder);
        } else {
            error = made.Error();
        }
    }
    return folders;
}

} // namespace HostSim
