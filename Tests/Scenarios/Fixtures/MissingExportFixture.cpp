#include "FixtureEntryPoints.hpp"

// A module that hands out a good record but never exports SetImportedFuncAddrs: the host must refuse
// it by name, before calling any entry point.
ADDON_EXPORT void HOST_CALL GetExportedFuncAddrs(void* record) {
    Fixture::WriteRecord(record, EntryPointRecordVersion, Fixture::QuietDescribe, Fixture::QuietRegister,
                         Fixture::QuietStart, Fixture::QuietRelease);
}
