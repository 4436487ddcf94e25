#pragma once

#include "GSRootExport.hpp"
#include "GSTypes.hpp"
#include "UniString.hpp"

namespace GS {

// A 16-byte identifier. The null GUID (all bytes zero) means "none".
class GSROOT_API Guid {
public:
    Guid();
    Guid(UInt32 data1, UInt16 data2, UInt16 data3, const UInt8 (&data4)[8]);

    static Guid Generate();
    // Parses "xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx" (hex, either case, braces allowed); false and
    // the null GUID for anything else.
    static bool Parse(const char* text, Guid& result);

    bool IsNull() const;
    bool operator==(const Guid& other) const;
    bool operator!=(const Guid& other) const { return !(*this == other); }
    // "xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx", upper case.
    UniString ToUniString() const;

    UInt32 data1;
    UInt16 data2;
    UInt16 data3;
    UInt8 data4[8];
};

static_assert(sizeof(Guid) == 16);

} // namespace GS
