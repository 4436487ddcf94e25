#pragma once

#include "ResFormat/ResFileReader.hpp"

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// The .res file that the build links into the module, read with the reader that RS uses, and a
// reader for the bytes of one resource written here from the byte layouts alone.
namespace ModuleResources {

const ResFormat::ResFileContents& Contents();

// The resource's bytes; empty when the module lacks it.
std::vector<std::uint8_t> Find(const ResFormat::ResName& type, const ResFormat::ResName& name);
std::vector<std::uint8_t> FindHostResource(const char* type, std::uint16_t number);

struct OutOfBytes : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Little-endian numbers and NUL-ended 8-bit texts, one after another, unaligned. Reading past the end
// throws OutOfBytes.
class ByteReader {
public:
    explicit ByteReader(const std::vector<std::uint8_t>& resourceBytes) : bytes(resourceBytes) {}

    std::uint8_t Byte();
    std::uint16_t Word();
    std::uint32_t DoubleWord();
    std::string Text();

    std::size_t Offset() const { return offset; }
    bool AtEnd() const { return offset == bytes.size(); }

private:
    void Require(std::size_t count) const;

    const std::vector<std::uint8_t>& bytes;
    std::size_t offset = 0;
};

} // namespace ModuleResources
