#pragma once

#include "GSTypes.hpp"
#include "InputOutputExport.hpp"
#include "UniString.hpp"

namespace IO {

// One name inside a folder: a file or folder name, without separators.
class INPUTOUTPUT_API Name {
public:
    Name();
    // 8-bit text in the host's default encoding.
    Name(const char* name);
    Name(const GS::UniString& name);

    const GS::UniString& ToUniString() const { return name; }
    bool IsEmpty() const { return name.IsEmpty(); }

private:
    GS::UniString name;
};

} // namespace IO
