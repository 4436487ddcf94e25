#pragma once

#include <cstdint>

// Numbers stored least significant byte first, as every Windows file format the world reads or writes
// keeps them (.res files and their payloads, dialog layouts, PE modules, icons, zip headers, registry
// values), whatever the byte order of the machine. A reader checks the bounds before it reads; these
// only put the bytes together.
namespace LittleEndian {

template <typename Byte>
constexpr std::uint16_t Read16(const Byte* at) {
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(at[0]) | static_cast<std::uint8_t>(at[1])
                                                                             << 8);
}

template <typename Byte>
constexpr std::uint32_t Read32(const Byte* at) {
    return Read16(at) | std::uint32_t{Read16(at + 2)} << 16;
}

// Appends to any container of bytes or chars (a std::vector<std::uint8_t>, a std::string).
template <typename Bytes>
void Append16(Bytes& out, std::uint16_t value) {
    using Byte = typename Bytes::value_type;
    out.push_back(static_cast<Byte>(value & 0xFFu));
    out.push_back(static_cast<Byte>(value >> 8));
}

template <typename Bytes>
void Append32(Bytes& out, std::uint32_t value) {
    Append16(out, static_cast<std::uint16_t>(value & 0xFFFFu));
    Append16(out, static_cast<std::uint16_t>(value >> 16));
}

} // namespace LittleEndian
