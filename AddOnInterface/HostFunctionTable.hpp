#pragma once

#include "AddOnToken.hpp"
#include "CallingConvention.hpp"
#include "GSTypes.hpp"
#include "Guid.hpp"
#include "MenuRecords.hpp"
#include "UniString.hpp"

#include <cstddef>

// The host function table: 625 slots of 8 bytes, each a host function or null. An add-on keeps a
// copy; a null slot means the host does not offer that operation, which the add-on reports as
// GSErr::MissingSlot (0x81060387) without calling anything. Every operation runs on the host's
// user-interface thread and returns 0 on success or an error code.
constexpr std::size_t HostFunctionSlotCount = 625;
constexpr std::size_t HostFunctionTableSize = HostFunctionSlotCount * 8;
static_assert(HostFunctionTableSize == 5000);
static_assert(sizeof(void*) == 8, "the host table has 8-byte slots: 64-bit only");

// The identifier of an add-on module as its "MDID" resource holds it; addresses command calls.
struct AddOnModuleId {
    UInt32 first;
    UInt32 second;
};
static_assert(sizeof(AddOnModuleId) == 8);

// Registers the add-on's menu from the record (read during the call). No token: the host calls
// register before start.
using HostMenuRegisterProc = GSErrCode(HOST_CALL*)(const MenuRegistrationRecord* record);

// Installs `handler` for the menu whose texts are list `menuListId`; the host calls it for every
// pick until the add-on is released.
using HostMenuHandlerInstallProc = GSErrCode(HOST_CALL*)(AddOnToken token, Int16 menuListId,
                                                         MenuCommandHandlerProc handler);

// Environment query `code` ('GSPF': special folder; first pointer an Int32 folder number, second
// the IO::Location that receives it, third null). Pointers are the caller's, read or written during
// the call only. Unknown codes or numbers fail and leave the outputs alone.
using HostEnvironmentProc = GSErrCode(HOST_CALL*)(AddOnToken token, Int32 code, void* par1, void* par2,
                                                  void* par3);

// Automation request `code` ('SAVE': first pointer a SaveFileRecord, second the SAF save parameter
// record, third null). 0 means done; anything else means the request did not happen.
using HostAutomateProc = GSErrCode(HOST_CALL*)(AddOnToken token, Int32 code, void* par1, void* par2,
                                               void* par3);

// Calls command `command` (a four-letter code) of version `version` of the add-on whose identifier
// is `target`, passing two pointer-sized values whose meaning is the command's. `silent` asks the
// target to show nothing on failure. 0 means done and the outputs filled; an unknown target,
// command or version fails.
using HostCommandCallProc = GSErrCode(HOST_CALL*)(AddOnToken token, const AddOnModuleId* target,
                                                  UInt32 command, UInt32 version, void* parameter,
                                                  void* result, bool silent);

// Add-on objects: named records the host keeps in the open project for the add-on. Content travels
// as host handles; the host keeps its own copy of whatever it is given and hands out new handles
// that the receiver kills.
// Create: a new object named `*name` with a copy of `*content`; its new GUID goes to `*guid`.
using HostObjectCreateProc = GSErrCode(HOST_CALL*)(AddOnToken token, const GS::UniString* name,
                                                   GSHandle* content, GS::Guid* guid);
// Read: the object `*guid`; its name goes to `*name` and a new handle with its content to `*content`
// (null before the call).
using HostObjectReadProc = GSErrCode(HOST_CALL*)(AddOnToken token, const GS::Guid* guid, GS::UniString* name,
                                                 GSHandle* content);
// Modify: replaces the name and content of object `*guid` with copies of `*name` and `*content`.
using HostObjectModifyProc = GSErrCode(HOST_CALL*)(AddOnToken token, const GS::Guid* guid,
                                                   const GS::UniString* name, GSHandle* content);
// Find: the GUID of the object named `*name` into `*guid`; 0 with the null GUID when there is none.
using HostObjectFindProc = GSErrCode(HOST_CALL*)(AddOnToken token, const GS::UniString* name, GS::Guid* guid);

// Byte offsets of the slots from the table's start.
namespace HostSlot {
constexpr std::size_t MenuRegister = 0x28;
constexpr std::size_t MenuHandlerInstall = 0xD0;
constexpr std::size_t Environment = 0x280;
constexpr std::size_t Automate = 0x298;
constexpr std::size_t CommandCall = 0xAC8;
constexpr std::size_t ObjectCreate = 0x1048;
constexpr std::size_t ObjectRead = 0x1058;
constexpr std::size_t ObjectModify = 0x1060;
constexpr std::size_t ObjectFind = 0x1080;

static_assert(MenuRegister / 8 == 5 && MenuHandlerInstall / 8 == 26);
static_assert(Environment / 8 == 80 && Automate / 8 == 83 && CommandCall / 8 == 345);
static_assert(ObjectCreate / 8 == 521 && ObjectRead / 8 == 523 && ObjectModify / 8 == 524 &&
              ObjectFind / 8 == 528);
static_assert(ObjectFind + 8 <= HostFunctionTableSize);
} // namespace HostSlot

// Four-letter codes: the four bytes from the most significant spell the code.
constexpr UInt32 FourLetterCode(const char (&code)[5]) {
    return (static_cast<UInt32>(static_cast<unsigned char>(code[0])) << 24) |
           (static_cast<UInt32>(static_cast<unsigned char>(code[1])) << 16) |
           (static_cast<UInt32>(static_cast<unsigned char>(code[2])) << 8) |
           static_cast<UInt32>(static_cast<unsigned char>(code[3]));
}
static_assert(FourLetterCode("SAVE") == 0x53415645u);
static_assert(FourLetterCode("GSPF") == 0x47535046u);
