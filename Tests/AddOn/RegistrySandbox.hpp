#pragma once

#include <filesystem>
#include <string>

// A fresh temporary folder holding the host's registry store and any installation folders a test
// makes; the registry store points at it while the sandbox lives. Removed with everything in it.
class RegistrySandbox {
public:
    RegistrySandbox();
    ~RegistrySandbox();
    RegistrySandbox(const RegistrySandbox&) = delete;
    RegistrySandbox& operator=(const RegistrySandbox&) = delete;

    // Records an installation of the analysis application under `name` whose "InstallDir" is
    // `installFolder` (an empty path writes an empty value).
    void AddInstallation(const std::string& name, const std::filesystem::path& installFolder);
    // Records an installation subkey that has no "InstallDir" value.
    void AddInstallationWithoutFolder(const std::string& name);
    // Creates the installations key itself, with no installation below it.
    void AddEmptyInstallationsKey();

    // A new folder inside the sandbox, optionally holding the analysis application's executable.
    std::filesystem::path MakeInstallFolder(const std::string& name, bool withExecutable);
    // A complete installation: folder, executable and registry entry. Returns the executable.
    std::filesystem::path Install(const std::string& name);

    const std::filesystem::path& Root() const { return root; }

private:
    std::filesystem::path root;
};
