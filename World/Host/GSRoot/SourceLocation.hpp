#pragma once

#include "GSTypes.hpp"

namespace GS {

// Where a call into the host was made from, for the host's diagnostics.
struct SourceLocation {
    const char* file;
    Int32 line;
    const char* function;
};

} // namespace GS

#define GS_SOURCE_LOCATION (GS::SourceLocation{__FILE__, __LINE__, __func__})
