#pragma once

#include <optional>
#include <string>

namespace HostSim {

// hostsim's own installation convention, as a real host registers its installations: the installer
// of host version V writes the key HKEY_LOCAL_MACHINE\SOFTWARE\HostSim\V with the string values
// "Version" (the full version), "InstallDir" (the folder of hostsim) and "AddOnsFolder" (where
// add-ons are installed). Add-on installers find the folder there, never at a fixed path.
inline constexpr const char* InstallationsKeyPath = "SOFTWARE\\HostSim";
inline constexpr const char* AddOnsFolderValueName = "AddOnsFolder";

// The add-ons folder that the installation of `hostVersion` registered, as UTF-8; nothing when the
// version is not installed or names no folder.
std::optional<std::string> RegisteredAddOnsFolder(const std::string& hostVersion);

} // namespace HostSim
