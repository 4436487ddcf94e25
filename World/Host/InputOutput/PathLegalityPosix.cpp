#include "PathLegality.hpp"

namespace IO::PathLegality {

bool IsLegalNativePath(const GS::UniString& path) {
    return IsLegalPosixPath(path);
}

} // namespace IO::PathLegality
