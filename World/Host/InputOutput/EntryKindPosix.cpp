#include "EntryKind.hpp"

#include <sys/stat.h>

namespace IO::EntryKind {

Kind At(const GS::UniString& nativePath) {
    struct stat info {};
    if (nativePath.IsEmpty() || ::stat(nativePath.ToUTF8().Get(), &info) != 0) {
        return Kind::Missing;
    }
    return S_ISDIR(info.st_mode) ? Kind::Folder : Kind::File;
}

} // namespace IO::EntryKind
