#pragma once

#include "GSTypes.hpp"

namespace IO {

// What an IO::Folder or IO::File does when nothing exists at its location. Neither object ever
// creates anything, so this only decides whether a missing entry is an error in GetStatus().
enum class OnNotFound : Int32 {
    // A missing entry is an error: the object's status is GSErr::NotFound.
    FailIfMissing = 0,
    // A missing entry is fine: the object only names a place, for example a file about to be written.
    AcceptMissing = 1
};

} // namespace IO
