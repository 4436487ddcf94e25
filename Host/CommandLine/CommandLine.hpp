#pragma once

#include <string>
#include <vector>

namespace CommandLine {

// The program's arguments after its own name, as UTF-8. On Windows they are taken from the wide
// command line, because the narrow argv of the C runtime holds the system code page and loses every
// letter outside it; elsewhere argv is already the bytes the caller passed.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

} // namespace CommandLine
