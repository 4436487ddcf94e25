#pragma once

#include "UniString.hpp"

#include <ostream>

namespace GS {
// Lets GoogleTest show strings as text in failure messages.
inline void PrintTo(const UniString& text, std::ostream* out) {
    *out << '"' << text.ToUTF8().Get() << '"';
}
} // namespace GS
