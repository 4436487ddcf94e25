#pragma once

namespace Scenarios {

// Leaves no trace of earlier scenarios in the registry that hostsim will see. On Linux each
// scenario's registry lives in its own fresh home, so there is nothing to do; on Windows it is the
// system's registry, shared by every run: the keys that hostsim, the add-on and these tests write are
// deleted.
void ClearScenarioRegistry();

} // namespace Scenarios
