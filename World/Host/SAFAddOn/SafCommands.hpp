#pragma once

#include "AddOnInterface.hpp"
#include "GSTypes.hpp"

// What the host's SAF add-on answers to through HostCommandCall. This is the SAF add-on's statement
// of its protocol; the add-on that calls it states the same protocol on its own side and includes
// nothing of this, as an add-on of another maker would. Tests/AddOn holds the two to each other.
namespace SAF {

// The SAF add-on's module identifier; command calls addressed to anything else do not reach it.
constexpr AddOnModuleId ModuleId{0x47242F2Eu, 0x8D897D96u};

inline bool IsSafModule(const AddOnModuleId& id) {
    return id.first == ModuleId.first && id.second == ModuleId.second;
}

namespace Command {
constexpr UInt32 OpenData = FourLetterCode("LADA");         // parameter: void** receiving a handle
constexpr UInt32 SelectTranslator = FourLetterCode("SSTD"); // parameter: handle; result: const UniString*
constexpr UInt32 ShowDetails = FourLetterCode("ISID"); // parameter: null; result: void** holding the handle
constexpr UInt32 GetSelected = FourLetterCode("GSTD"); // parameter: handle; result: UniString*
constexpr UInt32 GetTranslators = FourLetterCode("GTRS"); // parameter: GS::Array<UniString>*; result: handle
constexpr UInt32 FillPopUp = FourLetterCode("FTRP");      // parameter: DG::PopUp*; result: handle
constexpr UInt32 CloseData = FourLetterCode("FADA");      // parameter: void** holding the handle
} // namespace Command

// The versions the SAF add-on accepts: 12345 for opening and closing, 1 for the working commands.
constexpr UInt32 BracketVersion = 12345;
constexpr UInt32 WorkingVersion = 1;

// Its failure codes, distinct from the host's own.
namespace Err {
constexpr GSErrCode UnknownCommand = static_cast<GSErrCode>(0x81061001u);
constexpr GSErrCode WrongVersion = static_cast<GSErrCode>(0x81061002u);
constexpr GSErrCode UnknownHandle = static_cast<GSErrCode>(0x81061003u);
constexpr GSErrCode UnknownTranslator = static_cast<GSErrCode>(0x81061004u);
constexpr GSErrCode NoTranslatorSelected = static_cast<GSErrCode>(0x81061005u);
constexpr GSErrCode StoreUnreadable = static_cast<GSErrCode>(0x81061006u);
} // namespace Err

} // namespace SAF
