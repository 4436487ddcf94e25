#include "WriteMarks.hpp"

#include <sys/stat.h>

namespace SU::WriteMarks {

Entry At(const GS::UniString& nativePath) {
    struct stat info {};
    if (nativePath.IsEmpty() || ::stat(nativePath.ToUTF8().Get(), &info) != 0) {
        return Entry::Missing;
    }
    const bool ownerMayWrite = (info.st_mode & S_IWUSR) != 0;
    if (S_ISDIR(info.st_mode)) {
        return ownerMayWrite ? Entry::WritableFolder : Entry::ReadOnlyFolder;
    }
    if (S_ISREG(info.st_mode)) {
        return ownerMayWrite ? Entry::WritableFile : Entry::ReadOnlyFile;
    }
    return Entry::Other;
}

GS::UniString ContainingFolder(const GS::UniString& nativePath) {
    UIndex end = nativePath.GetLength();
    while (end > 0 && nativePath[end - 1] != u'/') {
        --end;
    }
    if (end == 0) {
        return GS::UniString(u".");
    }
    while (end > 1 && nativePath[end - 1] == u'/') {
        --end;
    }
    return nativePath.GetSubstring(0, end);
}

} // namespace SU::WriteMarks
