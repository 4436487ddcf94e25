#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The characters an XML 1.0 document may hold, in UTF-8, and the names it may use.
namespace AnalysisApp {

inline bool IsXmlSpace(char character) {
    return character == ' ' || character == '\t' || character == '\n' || character == '\r';
}

// A code point that XML allows in a document (a reference to any other is not well-formed).
bool IsXmlCharacter(std::uint32_t codePoint);

// The offset of the first byte that does not begin or continue a legal character in well-formed
// UTF-8 (control characters, surrogates, U+FFFE and U+FFFF, overlong forms), or npos.
std::size_t FirstIllegalXmlByte(std::string_view bytes);

// A name as XML spells one, its ASCII characters checked exactly; any character beyond ASCII is
// taken as a name character (the bytes are checked as characters on their own).
bool IsXmlName(std::string_view name);

// An XML name that namespaces can read: no colon, or one with a name on either side ("x:row").
bool IsQualifiedName(std::string_view name);

void AppendUtf8(std::string& out, std::uint32_t codePoint);

} // namespace AnalysisApp
