#pragma once

#include "GSTypes.hpp"
#include "GSXMLUtilsExport.hpp"

namespace GSXML {

// Keeps the host's XML subsystem initialised while any instance lives: the first instance starts it,
// the last one to be destroyed shuts it down. Reference counted per process.
class GSXMLUTILS_API XercescInitializer {
public:
    XercescInitializer();
    ~XercescInitializer();
    XercescInitializer(const XercescInitializer&) = delete;
    XercescInitializer& operator=(const XercescInitializer&) = delete;

    // Host-side: how many instances are alive, and whether the subsystem is initialised.
    static Int32 GetReferenceCount();
    static bool IsInitialised();
};

} // namespace GSXML
