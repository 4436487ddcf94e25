#include "StringListFormat.hpp"

#include "ByteOrder/LittleEndian.hpp"

namespace ResFormat {

namespace {

constexpr std::size_t CountSize = 4;

StringList Malformed(std::string problem) {
    StringList list;
    list.problem = std::move(problem);
    return list;
}

} // namespace

StringList ParseStringList(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < CountSize) {
        return Malformed("shorter than its 4-byte count");
    }
    const std::uint32_t count = LittleEndian::Read32(bytes.data());
    const std::size_t following = bytes.size() - CountSize;
    if (count != following) {
        return Malformed("count " + std::to_string(count) + " does not match the " +
                         std::to_string(following) + " bytes that follow it");
    }
    const std::string_view texts(reinterpret_cast<const char*>(bytes.data() + CountSize), following);
    if (!texts.empty() && texts.back() != '\0') {
        return Malformed("the last text has no closing NUL");
    }
    StringList list;
    for (std::size_t start = 0; start < texts.size();) {
        const std::size_t end = texts.find('\0', start);
        list.texts.push_back(texts.substr(start, end - start));
        start = end + 1;
    }
    return list;
}

} // namespace ResFormat
