#pragma once

#include <set>
#include <string>
#include <vector>

// What tests read from an ELF64 object file itself (Linux only). Each reader throws
// std::runtime_error for a file that is not a well-formed ELF64 object.

// The names of the symbols that the object defines in its dynamic symbol table (global and weak, not
// undefined).
std::set<std::string> DefinedDynamicSymbols(const std::string& path);

// The object's dynamic section: the libraries it needs, in order, and whether the loader binds all
// its imports when it loads it (DF_BIND_NOW or DF_1_NOW) rather than each at its first call.
struct DynamicLinkage {
    std::vector<std::string> needed;
    bool bindNow = false;
};
DynamicLinkage ReadDynamicLinkage(const std::string& path);
