#include "RegistrySandboxPlatform.hpp"

#include "GSPref.hpp"

namespace RegistrySandboxPlatform {

void Enter(const std::filesystem::path& sandboxRoot) {
    std::filesystem::create_directory(sandboxRoot / "registry");
    GSPref::SetStoreFolder((sandboxRoot / "registry").string().c_str());
}

void Leave() {}

} // namespace RegistrySandboxPlatform
