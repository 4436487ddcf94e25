#pragma once

#include "AddOnInterface.hpp"

#include <cstring>

// Entry points that do nothing wrong, for fixtures whose fault lies elsewhere.
namespace Fixture {

inline Int32 HOST_CALL QuietDescribe(AddOnDescriptionRecord*) {
    return 1;
}
inline GSErrCode HOST_CALL QuietRegister(void*) {
    return NoError;
}
inline GSErrCode HOST_CALL QuietStart(AddOnToken) {
    return NoError;
}
inline GSErrCode HOST_CALL QuietRelease() {
    return NoError;
}

inline void WriteRecord(void* buffer, UInt32 version, AddOnDescribeProc describe,
                        AddOnRegisterProc registerProc, AddOnStartProc start, AddOnReleaseProc release) {
    EntryPointRecord record{};
    record.interfaceVersion = version;
    record.describe = describe;
    record.registerInterface = registerProc;
    record.start = start;
    record.release = release;
    record.platformCode = EntryPointPlatformCode;
    std::memcpy(buffer, &record, sizeof record);
}

} // namespace Fixture
