#pragma once

#include <stdexcept>
#include <string>

namespace Building {

// Thrown inside the model reader only; ReadModel turns it into its error text.
class ModelFault : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// `what` of the object `index` of list `list`, with its name when it has one: `nodes[2] "N3"`.
std::string ObjectPlace(const std::string& list, std::size_t index, const std::string& name);

} // namespace Building
