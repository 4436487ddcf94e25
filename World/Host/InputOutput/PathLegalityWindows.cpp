#include "PathLegality.hpp"

namespace IO::PathLegality {

bool IsLegalNativePath(const GS::UniString& path) {
    return IsLegalWindowsPath(path);
}

} // namespace IO::PathLegality
