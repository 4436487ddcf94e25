#include "RegistrySandboxPlatform.hpp"

#include "GSPref.hpp"

namespace RegistrySandboxPlatform {

namespace {
// Everything the add-on reads from the local machine lives below this key.
void ClearMakersKey() {
    static_cast<void>(GSPref::DeleteKey(GSPref::RootKeyDomain::LocalMachine, "SOFTWARE\\VELD"));
}
} // namespace

void Enter(const std::filesystem::path& /*sandboxRoot*/) {
    ClearMakersKey();
}

void Leave() {
    ClearMakersKey();
}

} // namespace RegistrySandboxPlatform
