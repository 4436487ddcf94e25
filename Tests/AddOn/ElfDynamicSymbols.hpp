#pragma once

#include <set>
#include <string>

// The names of the symbols that an ELF64 shared object defines in its dynamic symbol table (global
// and weak, not undefined), read from the file itself. Throws std::runtime_error for a file that is
// not a well-formed ELF64 object.
std::set<std::string> DefinedDynamicSymbols(const std::string& path);
