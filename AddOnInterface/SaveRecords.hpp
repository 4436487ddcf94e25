#pragma once

#include "GSTypes.hpp"
#include "Location.hpp"
#include "UniString.hpp"

#include <cstddef>

// 'SAVE' automation, first pointer: what to save and where. Read by the host during the call.
struct SaveFileRecord {
    Int32 fileType;               // 69: SAF workbook
    Int32 unused;                 // not written by add-ons
    const IO::Location* location; // the caller's; the file to write
};
static_assert(sizeof(SaveFileRecord) == 16);
static_assert(offsetof(SaveFileRecord, fileType) == 0);
static_assert(offsetof(SaveFileRecord, location) == 8);

constexpr Int32 SafWorkbookFileType = 69;

// 'SAVE' automation, second pointer, for the SAF file type: which translator converts the model.
// All zero (an all-zero GS::UniString is the empty string) before the fields are set.
struct SafSaveParameterRecord {
    Int32 parameterKind; // 2: SAF translator by name
    Int32 reserved0;     // 0
    GS::UniString translatorName;
    Int64 reserved1; // 0
    Int32 reserved2; // 0
    Int32 alignment; // not written
};
static_assert(sizeof(SafSaveParameterRecord) == 40);
static_assert(offsetof(SafSaveParameterRecord, parameterKind) == 0);
static_assert(offsetof(SafSaveParameterRecord, translatorName) == 8);
static_assert(offsetof(SafSaveParameterRecord, reserved1) == 24);
static_assert(offsetof(SafSaveParameterRecord, reserved2) == 32);

constexpr Int32 SafTranslatorByNameKind = 2;
