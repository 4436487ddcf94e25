#include "FixtureEntryPoints.hpp"

// A module of another interface revision: its record starts with 0x001A0002. The host must refuse it
// without calling SetImportedFuncAddrs or any entry point.
ADDON_EXPORT void HOST_CALL GetExportedFuncAddrs(void* record) {
    Fixture::WriteRecord(record, 0x001A0002u, Fixture::QuietDescribe, Fixture::QuietRegister,
                         Fixture::QuietStart, Fixture::QuietRelease);
}

ADDON_EXPORT Int32 HOST_CALL SetImportedFuncAddrs(const void*) {
    return 0;
}
