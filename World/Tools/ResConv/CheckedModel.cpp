#include "CheckedModel.hpp"

#include <algorithm>
#include <stdexcept>

namespace ResConv {

const CheckedField& CheckedRecord::Field(std::string_view name) const {
    for (const CheckedField& field : fields) {
        if (field.shape->name == name) {
            return field;
        }
    }
    throw std::logic_error("record \"" + std::string(shape->keyword) + "\" has no field " +
                           std::string(name));
}

std::size_t CheckedResource::ItemCount() const {
    return static_cast<std::size_t>(std::count_if(
        records.begin(), records.end(), [](const CheckedRecord& record) { return !record.isHeader; }));
}

} // namespace ResConv
