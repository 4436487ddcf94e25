#pragma once

#include "UniString.hpp"

#include <string>

namespace SAF {

// UTF-8 of a string, all of it: a U+0000 inside does not end it.
std::string Utf8Of(const GS::UniString& text);

} // namespace SAF
