#pragma once

#include "AddOnToken.hpp"
#include "CallingConvention.hpp"
#include "DescriptionRecord.hpp"
#include "GSTypes.hpp"

#include <cstddef>

// The entry points an add-on hands to the host. Each returns a 32-bit result; for all but describe
// 0 is success and anything else an error code that the host reports.
using AddOnDescribeProc = Int32(HOST_CALL*)(AddOnDescriptionRecord* description); // 1: describe done
using AddOnRegisterProc = GSErrCode(HOST_CALL*)(void* unused);
using AddOnStartProc = GSErrCode(HOST_CALL*)(AddOnToken token);
using AddOnReleaseProc = GSErrCode(HOST_CALL*)();

// The 120-byte record that GetExportedFuncAddrs writes into the host's buffer. The host owns the
// buffer; the add-on writes every byte of it.
struct EntryPointRecord {
    UInt32 interfaceVersion; // 0x001A0001: interface 26, revision 1
    UInt32 reserved0;        // 0
    AddOnDescribeProc describe;
    AddOnRegisterProc registerInterface;
    AddOnStartProc start;
    AddOnReleaseProc release;
    Int32 platformCode;  // 26000
    UInt8 reserved1[76]; // 0
};
static_assert(sizeof(EntryPointRecord) == 120);
static_assert(offsetof(EntryPointRecord, interfaceVersion) == 0);
static_assert(offsetof(EntryPointRecord, describe) == 8);
static_assert(offsetof(EntryPointRecord, registerInterface) == 16);
static_assert(offsetof(EntryPointRecord, start) == 24);
static_assert(offsetof(EntryPointRecord, release) == 32);
static_assert(offsetof(EntryPointRecord, platformCode) == 40);
static_assert(offsetof(EntryPointRecord, reserved1) == 44);

constexpr UInt32 EntryPointRecordVersion = 0x001A0001u;
constexpr Int32 EntryPointPlatformCode = 26000;
constexpr std::size_t EntryPointRecordSize = sizeof(EntryPointRecord);

// The two functions every add-on module exports by name (C linkage, undecorated).
// GetExportedFuncAddrs: fills the host's 120-byte buffer with the EntryPointRecord.
// SetImportedFuncAddrs: copies the host's function table (HostFunctionTableSize bytes); the host
// may free or change its table afterwards. Returns 0.
using GetExportedFuncAddrsProc = void(HOST_CALL*)(void* record);
using SetImportedFuncAddrsProc = Int32(HOST_CALL*)(const void* table);
constexpr const char* GetExportedFuncAddrsName = "GetExportedFuncAddrs";
constexpr const char* SetImportedFuncAddrsName = "SetImportedFuncAddrs";
