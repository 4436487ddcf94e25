#include "AnalysisApplicationLocator.hpp"

#include "AbsoluteFolder.hpp"
#include "FileTests.hpp"
#include "GSPref.hpp"
#include "Name.hpp"
#include "UniString.hpp"

namespace {
constexpr const char* VendorKeyPath = "SOFTWARE\\VELD";
// Relative to the vendor key; one subkey per installation, with a free name.
constexpr const char* InstallationsKeyPath = "Installer\\VeldEngineer";
constexpr const char* InstallFolderValueName = "InstallDir";
constexpr const char* ExecutableName = "VeldEngineer.exe";

// Keeps the name it was called with last: the installer's registry order decides which installation
// counts, and the others are not looked at, not even when the last one turns out to be unusable.
class LastInstallationName : public GSPref::SubKeyVisitor {
public:
    explicit LastInstallationName(GS::UniString* target) : installationName(target) {}

    void operator()(const GS::UniString& subKeyName) const override { *installationName = subKeyName; }

private:
    GS::UniString* installationName;
};

// The "InstallDir" text of the last installation below the opened vendor key; empty when there is
// none.
GS::UniString ReadInstallationFolder(GSPref::IRoot& vendorKey) {
    GS::UniString installationName;
    static_cast<void>(
        vendorKey.EnumerateSubKeys(InstallationsKeyPath, LastInstallationName(&installationName)));

    GS::UniString installationFolder;
    if (installationName.IsEmpty()) {
        return installationFolder;
    }
    GS::UniString installationKeyPath(InstallationsKeyPath, CC_Default);
    installationKeyPath += u'\\';
    installationKeyPath += installationName;
    const GS::UniString::CStr keyPath = installationKeyPath.ToCStr(0, GS::MaxUIndex, CC_Default, 0);
    // The folder doubles as the default: an installation without the value leaves it empty.
    static_cast<void>(vendorKey.ReadStringValue(keyPath.Get(), InstallFolderValueName, installationFolder,
                                                installationFolder, 0));
    return installationFolder;
}
} // namespace

std::optional<IO::Location> GetAnalysisApplicationLocation() {
    GSPref::IRoot* vendorKey = GSPref::OpenRootKey(GSPref::RootKeyDomain::LocalMachine, VendorKeyPath);
    GS::UniString installationFolder;
    if (vendorKey != nullptr) {
        installationFolder = ReadInstallationFolder(*vendorKey);
    }
    GSPref::CloseRootKey(&vendorKey);

    // A relative folder would be looked up, and the application started, relative to whatever the
    // host's working folder happens to be: that is no installation.
    if (installationFolder.IsEmpty() || !IsAbsoluteFolder(installationFolder)) {
        return std::nullopt;
    }
    IO::Location executable(installationFolder);
    static_cast<void>(executable.AppendToLocal(IO::Name(ExecutableName)));
    if (!FileExists(executable)) {
        return std::nullopt;
    }
    return executable;
}
