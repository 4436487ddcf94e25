#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace HostText {

// "0x7f3a2c001000": how every address is written in hostsim's transcript and in what the host's SAF
// add-on reports, so that the same handle reads the same in both.
inline std::string AddressText(const void* address) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%llx",
                  static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(address)));
    return text;
}

} // namespace HostText
