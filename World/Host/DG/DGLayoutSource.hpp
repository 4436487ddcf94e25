#pragma once

#include "DGExport.hpp"
#include "GSTypes.hpp"

#include <cstdint>

namespace DG {

// Host-side: where dialogs find their layouts. By default DG reads resource "GSDG" of the module
// through RS; a host (or a test) may install another source for the life of its own object.
class DG_API LayoutSource {
public:
    virtual ~LayoutSource();
    // The layout's bytes, valid while the dialog is being built, or null with *size 0.
    virtual const std::uint8_t* FindLayout(GSResModule module, Int32 number, UInt32* size) = 0;
};

// Null goes back to reading the module's resources.
DG_API void SetLayoutSource(LayoutSource* source);

} // namespace DG
