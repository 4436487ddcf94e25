#include "Session/HostInstallation.hpp"

#include "GSPref.hpp"
#include "UniString.hpp"

namespace HostSim {

std::optional<std::string> RegisteredAddOnsFolder(const std::string& hostVersion) {
    GSPref::IRoot* installations =
        GSPref::OpenRootKey(GSPref::RootKeyDomain::LocalMachine, InstallationsKeyPath);
    if (installations == nullptr) {
        return std::nullopt;
    }
    GS::UniString folder;
    const GSErrCode read =
        installations->ReadStringValue(hostVersion.c_str(), AddOnsFolderValueName, folder, folder, 0);
    GSPref::CloseRootKey(&installations);
    if (read != NoError || folder.IsEmpty()) {
        return std::nullopt;
    }
    return std::string(folder.ToUTF8().Get());
}

} // namespace HostSim
