#pragma once

#include "GSPref.hpp"
#include "GSTypes.hpp"
#include "Result/Result.hpp"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace HostSim {

// `hostsim registry --home DIR ACTION ...`: the host's own registry administration, with which a
// person or a test registers an installation in the data folder's registry.
enum class RegistryAction { SetString, SetDWord, DeleteKey, DeleteValue, Get };

struct RegistryKey {
    GSPref::RootKeyDomain domain = GSPref::RootKeyDomain::LocalMachine;
    std::string path; // below the hive, backslash-separated
};

// "HKEY_LOCAL_MACHINE\SOFTWARE\VELD" (or HKLM, HKEY_CURRENT_USER, HKCU; any case) -> domain + path.
std::optional<RegistryKey> ParseRegistryKey(std::string_view text);

struct RegistryRequest {
    std::string home = "HostSimHome";
    RegistryAction action = RegistryAction::Get;
    RegistryKey key;
    std::string valueName;
    std::string text;  // set-string
    UInt32 number = 0; // set-dword
};

// `arguments` are those after the word "registry".
Result<RegistryRequest> ParseRegistryRequest(const std::vector<std::string>& arguments);

} // namespace HostSim
