#pragma once

#include "DGExport.hpp"
#include "GSTypes.hpp"
#include "UniString.hpp"

// Small per-user records that dialogs keep between runs (a dialog's width, say). Each is a binary
// value named `name` in the current user's part of the registry, under DG::UserDataKey.

namespace DG {
constexpr const char* UserDataKey = "Software\\HostSim\\DialogData";
// Larger than any record a dialog keeps.
constexpr GSSize LargestUserDataRecord = 64 * 1024;
} // namespace DG

// Copies the record stored under `name` into `data`, but only when the stored record is exactly
// `dataSize` bytes long. Returns the stored record's size (so 2 for a 2-byte record that was applied),
// or 0 when nothing is stored or the call failed. A record of any other size is left untouched and
// nothing is written: the host's classic form of this call took no size and wrote the whole stored
// record into a caller's buffer that may have been smaller; the size argument mends that.
DG_API GSSize DGRetrieveUserDataFromRegistry(const GS::UniString& name, void* data, GSSize dataSize);

// Host-side (the host, its tools and tests): stores `dataSize` bytes as the record named `name`.
DG_API GSErrCode DGStoreUserDataToRegistry(const GS::UniString& name, const void* data, GSSize dataSize);
