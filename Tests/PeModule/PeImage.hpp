#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

// A small reader of 64-bit Windows module files (PE32+), written for the tests from the published
// file layout alone, so that what the build made is checked by something other than the tools that
// made it. It reads the headers, the export names, the imports and the resource tree.
// Every offset is checked against the file: malformed bytes give PeFormatError, never a bad read.
namespace PeModule {

class PeFormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A resource type or name: a 16-bit number, or a UTF-16 text.
struct ResourceId {
    bool isNumber = true;
    std::uint16_t number = 0;
    std::u16string text;

    bool operator==(const ResourceId& other) const = default;
};

struct PeResource {
    ResourceId type;
    ResourceId name;
    std::uint16_t language = 0;
    std::vector<std::uint8_t> bytes;
};

// One DLL of the import directory and the names imported from it ("#N" for an import by ordinal).
struct PeImport {
    std::string dll;
    std::vector<std::string> names;
};

struct PeImage {
    std::uint16_t machine = 0;
    std::uint16_t characteristics = 0;
    std::uint16_t optionalHeaderMagic = 0;
    std::vector<std::string> exportNames;  // in the export name table's order
    std::vector<std::string> importedDlls; // as the import directory names them
    std::vector<PeImport> imports;         // in the import directory's order
    std::vector<PeResource> resources;     // in the resource tree's order

    static constexpr std::uint16_t MachineAmd64 = 0x8664;
    static constexpr std::uint16_t Pe32PlusMagic = 0x20B;
    static constexpr std::uint16_t DllCharacteristic = 0x2000;
};

PeImage ReadPeImage(const std::vector<std::uint8_t>& file);
PeImage ReadPeImageFile(const std::string& path);

} // namespace PeModule
