#pragma once

#include <cstdint>

// The host's fixed-width integer names, used throughout its interfaces.
using Int8 = std::int8_t;
using UInt8 = std::uint8_t;
using Int16 = std::int16_t;
using UInt16 = std::uint16_t;
using Int32 = std::int32_t;
using UInt32 = std::uint32_t;
using Int64 = std::int64_t;
using UInt64 = std::uint64_t;
using UIndex = UInt32;

// A result code: 0 is success, anything else names the failure.
using GSErrCode = Int32;
constexpr GSErrCode NoError = 0;

// Byte counts of host memory blocks and handles.
using GSSize = Int32;
using GSPtr = char*;
using GSConstPtr = const char*;

// A host memory handle: a pointer to the block's master pointer. Made with BMPtrToHandle, measured
// with BMGetHandleSize, freed with BMKillHandle by whoever made or received it.
using GSHandle = char**;
using GSConstHandle = const char* const*;

// A resource module: the host's handle on an add-on's resources; -1 means none.
using GSResModule = Int64;
constexpr GSResModule InvalidResModule = -1;
using GSResID = Int16;

// 8-bit text encodings the host converts from and to. CC_Default is the host's system encoding,
// which for this host is UTF-8 on every platform.
enum GSCharCode : Int32 {
    CC_Default = 0,
    CC_UTF8 = 1,
    CC_WindowsLatin1 = 2, // Windows code page 1252
    CC_ASCII = 3
};

// Host error codes that cross the add-on boundary.
namespace GSErr {
constexpr GSErrCode Generic = static_cast<GSErrCode>(0x81060000u);
constexpr GSErrCode NotInitialised = static_cast<GSErrCode>(0x81060001u); // entry point before the table
constexpr GSErrCode MissingSlot = static_cast<GSErrCode>(0x81060387u);    // host table slot left empty
constexpr GSErrCode BadParameter = static_cast<GSErrCode>(0x81060002u);
constexpr GSErrCode NotFound = static_cast<GSErrCode>(0x81060003u);
constexpr GSErrCode OutOfMemory = static_cast<GSErrCode>(0x81060004u);
constexpr GSErrCode IOError = static_cast<GSErrCode>(0x81060005u);
constexpr GSErrCode BadData = static_cast<GSErrCode>(0x81060006u);
} // namespace GSErr
