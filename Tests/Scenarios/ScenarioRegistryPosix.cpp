#include "ScenarioRegistry.hpp"

namespace Scenarios {

void ClearScenarioRegistry() {}

} // namespace Scenarios
