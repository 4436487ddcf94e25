#pragma once

#include <string>

namespace Scenarios {

// Leaves no trace of earlier scenarios in the registry that hostsim will see. On Linux each
// scenario's registry lives in its own fresh home, so there is nothing to do; on Windows it is the
// system's registry, shared by every run: the keys that hostsim, the add-on and these tests write are
// deleted.
void ClearScenarioRegistry();

// On Windows, every key and value below those keys as text, one line each, so that a test can
// tell whether a run changed any of them. On Linux empty: the registry is files in the data
// folder, which a test compares as files.
std::string ScenarioRegistryText();

} // namespace Scenarios
