#pragma once

#include <string>

// Pieces of the readable argument texts that library operations hand to GS::ReportCall, so that all
// libraries describe their arguments alike: name=value pairs separated by spaces, texts in double
// quotes with C escapes (\\ \" \n \r \t \xHH), null pointers as null.
namespace GS::CallDetails {

// `"text"`, escaped; `null` for a null pointer. `text` is UTF-8 and passes through unchanged
// apart from the escapes.
std::string Quote(const char* utf8Text);
std::string Quote(const std::string& utf8Text);

} // namespace GS::CallDetails
