#include "Name.hpp"

namespace IO {

Name::Name() = default;

Name::Name(const char* text) : name(text, CC_Default) {}

Name::Name(const GS::UniString& text) : name(text) {}

} // namespace IO
