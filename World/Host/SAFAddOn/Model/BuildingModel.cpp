#include "BuildingModel.hpp"

namespace Building {

Restraints RestraintsOf(const std::string& supportType) {
    if (supportType == "Fixed") {
        return {true, true, true, true, true, true};
    }
    if (supportType == "Hinged") {
        return {true, true, true, false, false, false};
    }
    if (supportType == "Sliding") {
        return {false, false, true, false, false, false};
    }
    return {false, false, false, false, false, false};
}

} // namespace Building
