#pragma once

#include <cerrno>
#include <cstddef>
#include <string>
#include <unistd.h>

namespace GS {

// Appends everything left to read from an open descriptor to `bytes`, reading on after an
// interrupted call. False at a read error, with errno as the read left it.
inline bool ReadToEnd(int descriptor, std::string& bytes) {
    char chunk[65536];
    for (;;) {
        const ssize_t count = ::read(descriptor, chunk, sizeof(chunk));
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return count == 0;
        }
        bytes.append(chunk, static_cast<std::size_t>(count));
    }
}

} // namespace GS
