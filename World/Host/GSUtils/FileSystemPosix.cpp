#include "FileSystem.hpp"

#include <sys/stat.h>

namespace SU::FileSystem {

bool IsRegularFile(const GS::UniString& nativePath) {
    struct stat info {};
    return !nativePath.IsEmpty() && ::stat(nativePath.ToUTF8().Get(), &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace SU::FileSystem
