#include "ExportOptions.hpp"

namespace SafWorkbook {

const char* UnitSystemName(UnitSystem system) {
    return system == UnitSystem::Imperial ? "Imperial" : "Metric";
}

bool SetElementKind(ElementKinds& kinds, std::string_view name, bool exported) {
    bool ElementKinds::*const flags[] = {&ElementKinds::columns,  &ElementKinds::beams,
                                         &ElementKinds::slabs,    &ElementKinds::walls,
                                         &ElementKinds::supports, &ElementKinds::storeys};
    const std::string_view names[] = {"columns", "beams", "slabs", "walls", "supports", "storeys"};
    for (std::size_t index = 0; index < std::size(names); ++index) {
        if (name == names[index]) {
            kinds.*flags[index] = exported;
            return true;
        }
    }
    return false;
}

} // namespace SafWorkbook
