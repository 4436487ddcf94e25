#include "RegistrySandbox.hpp"
#include "RegistrySandboxPlatform.hpp"

#include "GSPref.hpp"
#include "UniString.hpp"

#include <fstream>
#include <random>
#include <stdexcept>

namespace {
constexpr const char* InstallationsKey = "SOFTWARE\\VELD\\Installer\\VeldEngineer";

std::filesystem::path MakeUniqueFolder() {
    std::random_device entropy;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto candidate =
            std::filesystem::temp_directory_path() / ("veld-addon-test-" + std::to_string(entropy()));
        if (std::filesystem::create_directory(candidate)) {
            return candidate;
        }
    }
    throw std::runtime_error("no fresh temporary folder");
}

void Check(GSErrCode result, const char* what) {
    if (result != NoError) {
        throw std::runtime_error(std::string("registry set-up failed: ") + what);
    }
}

GS::UniString FromPath(const std::filesystem::path& path) {
    const std::string utf8 = path.string();
    return GS::UniString::FromUTF8(utf8.c_str(), static_cast<UIndex>(utf8.size()));
}
} // namespace

RegistrySandbox::RegistrySandbox() : root(MakeUniqueFolder()) {
    RegistrySandboxPlatform::Enter(root);
}

RegistrySandbox::~RegistrySandbox() {
    RegistrySandboxPlatform::Leave();
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
}

void RegistrySandbox::AddInstallation(const std::string& name, const std::filesystem::path& installFolder) {
    const std::string key = std::string(InstallationsKey) + "\\" + name;
    Check(GSPref::WriteStringValue(GSPref::RootKeyDomain::LocalMachine, key.c_str(), "InstallDir",
                                   FromPath(installFolder)),
          "InstallDir");
}

void RegistrySandbox::AddInstallationWithoutFolder(const std::string& name) {
    const std::string key = std::string(InstallationsKey) + "\\" + name;
    Check(GSPref::WriteStringValue(GSPref::RootKeyDomain::LocalMachine, key.c_str(), "Version", "1.0"),
          "Version");
}

void RegistrySandbox::AddEmptyInstallationsKey() {
    Check(
        GSPref::WriteStringValue(GSPref::RootKeyDomain::LocalMachine, InstallationsKey, "Publisher", "VELD"),
        "Publisher");
}

std::filesystem::path RegistrySandbox::MakeInstallFolder(const std::string& name, bool withExecutable) {
    const auto folder = root / "installations" / name;
    std::filesystem::create_directories(folder);
    if (withExecutable) {
        std::ofstream(folder / "VeldEngineer.exe") << "stand-in executable\n";
    }
    return folder;
}

std::filesystem::path RegistrySandbox::Install(const std::string& name) {
    const auto folder = MakeInstallFolder(name, true);
    AddInstallation(name, folder);
    return folder / "VeldEngineer.exe";
}
