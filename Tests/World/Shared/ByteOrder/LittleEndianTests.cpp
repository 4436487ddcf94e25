#include "ByteOrder/LittleEndian.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

// The bytes of Windows files come as unsigned bytes (.res, PE, layouts) or as chars (zip headers in
// a std::string, where bytes from 0x80 are negative): both must give the same numbers.
TEST(LittleEndian, NumbersGoOutLeastSignificantFirstAndComeBackWhateverTheByteType) {
    struct Case {
        std::uint32_t value;
        std::vector<std::uint8_t> bytes;
    };
    const Case cases[] = {
        {0x12345678u, {0x78, 0x56, 0x34, 0x12}},
        {0xFFFFFFFFu, {0xFF, 0xFF, 0xFF, 0xFF}},
        {0x80000001u, {0x01, 0x00, 0x00, 0x80}},
        {0x00FF8000u, {0x00, 0x80, 0xFF, 0x00}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        std::vector<std::uint8_t> written;
        LittleEndian::Append32(written, c.value);
        EXPECT_EQ(written, c.bytes);
        std::string asChars;
        LittleEndian::Append32(asChars, c.value);
        EXPECT_EQ(asChars, std::string(c.bytes.begin(), c.bytes.end()));

        EXPECT_EQ(LittleEndian::Read32(c.bytes.data()), c.value);
        EXPECT_EQ(LittleEndian::Read32(asChars.data()), c.value);
        EXPECT_EQ(LittleEndian::Read16(asChars.data() + 2), static_cast<std::uint16_t>(c.value >> 16));

        std::vector<std::uint8_t> halves;
        LittleEndian::Append16(halves, static_cast<std::uint16_t>(c.value & 0xFFFFu));
        EXPECT_EQ(halves, std::vector<std::uint8_t>(c.bytes.begin(), c.bytes.begin() + 2));
    }
}

} // namespace
