#include "ScenarioRegistry.hpp"

namespace Scenarios {

void ClearScenarioRegistry() {}

std::string ScenarioRegistryText() {
    return {};
}

} // namespace Scenarios
