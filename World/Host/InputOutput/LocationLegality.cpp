#include "CallReport.hpp"
#include "Location.hpp"
#include "PathLegality.hpp"

namespace IO {

bool Location::IsLegalInNativeFileSystem() const {
    constexpr const char* operation = "IO::Location::IsLegalInNativeFileSystem";
    const GSErrCode answer =
        CallReport::Begin(operation, [this] { return "location=" + CallReport::Quoted(path); });
    const bool legal = answer == NoError && PathLegality::IsLegalNativePath(path);
    CallReport::End(operation, legal ? "true" : "false");
    return legal;
}

} // namespace IO
