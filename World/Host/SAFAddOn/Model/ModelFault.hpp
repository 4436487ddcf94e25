#pragma once

#include <stdexcept>
#include <string>

namespace Building {

// Thrown inside the model reader only; ReadModel turns it into its error text. The text travels as
// a C string (`what`): a NUL taken from the model's texts is kept as the escape "\x00", so that the
// rest of the message is not lost after it.
class ModelFault : public std::runtime_error {
public:
    explicit ModelFault(const std::string& text);
};

// `what` of the object `index` of list `list`, with its name when it has one: `nodes[2] "N3"`.
std::string ObjectPlace(const std::string& list, std::size_t index, const std::string& name);

} // namespace Building
