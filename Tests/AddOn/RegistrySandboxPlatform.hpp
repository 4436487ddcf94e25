#pragma once

#include <filesystem>

// Where a sandbox's registry lives: on Linux a store folder inside the sandbox, on Windows the
// registry itself, whose analysis application keys are cleared on entry and on leaving.
namespace RegistrySandboxPlatform {

void Enter(const std::filesystem::path& sandboxRoot);
void Leave();

} // namespace RegistrySandboxPlatform
