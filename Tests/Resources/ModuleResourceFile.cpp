#include "ModuleResourceFile.hpp"

#include "ByteOrder/LittleEndian.hpp"

#include <fstream>
#include <iterator>

namespace ModuleResources {

const ResFormat::ResFileContents& Contents() {
    static const ResFormat::ResFileContents contents = [] {
        std::ifstream stream(VELD_RESOURCE_FILE, std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(stream),
                                              std::istreambuf_iterator<char>()};
        return ResFormat::ReadResFile(bytes);
    }();
    return contents;
}

std::vector<std::uint8_t> Find(const ResFormat::ResName& type, const ResFormat::ResName& name) {
    for (const ResFormat::ResourceEntry& entry : Contents().entries) {
        if (entry.type == type && entry.name == name) {
            return entry.data;
        }
    }
    return {};
}

std::vector<std::uint8_t> FindHostResource(const char* type, std::uint16_t number) {
    return Find(ResFormat::ResName::NamedUpperCase(type), ResFormat::ResName::Ordinal(number));
}

void ByteReader::Require(std::size_t count) const {
    if (bytes.size() - offset < count) {
        throw OutOfBytes("read of " + std::to_string(count) + " bytes at offset " + std::to_string(offset) +
                         " passes the end at " + std::to_string(bytes.size()));
    }
}

std::uint8_t ByteReader::Byte() {
    Require(1);
    return bytes[offset++];
}

std::uint16_t ByteReader::Word() {
    Require(2);
    const std::uint16_t value = LittleEndian::Read16(bytes.data() + offset);
    offset += 2;
    return value;
}

std::uint32_t ByteReader::DoubleWord() {
    Require(4);
    const std::uint32_t value = LittleEndian::Read32(bytes.data() + offset);
    offset += 4;
    return value;
}

std::string ByteReader::Text() {
    std::string text;
    for (std::uint8_t byte = Byte(); byte != 0; byte = Byte()) {
        text.push_back(static_cast<char>(byte));
    }
    return text;
}

} // namespace ModuleResources
