#pragma once

#include "AddOnMain.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>

// Has the add-on write its entry-point record into the middle of a buffer full of other bytes and
// checks all 120 bytes, and that nothing around them changed.
inline void ExpectEntryPointRecordOverGarbage() {
    constexpr std::size_t margin = 24;
    constexpr unsigned char garbage = 0xA5;
    std::array<unsigned char, 120 + 2 * margin> buffer;
    buffer.fill(garbage);
    const unsigned char* record = buffer.data() + margin;

    GetExportedFuncAddrs(buffer.data() + margin);

    auto read32 = [&](std::size_t offset) {
        std::uint32_t value = 0;
        std::memcpy(&value, record + offset, sizeof(value));
        return value;
    };
    auto read64 = [&](std::size_t offset) {
        std::uint64_t value = 0;
        std::memcpy(&value, record + offset, sizeof(value));
        return value;
    };
    auto address = [](auto function) {
        return static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(function));
    };
    EXPECT_EQ(read32(0), 0x001A0001u);
    EXPECT_EQ(read32(4), 0u);
    EXPECT_EQ(read64(8), address(&AddOnDescribe));
    EXPECT_EQ(read64(16), address(&AddOnRegister));
    EXPECT_EQ(read64(24), address(&AddOnStart));
    EXPECT_EQ(read64(32), address(&AddOnRelease));
    EXPECT_EQ(read32(40), 26000u);
    for (std::size_t offset = 44; offset < 120; ++offset) {
        EXPECT_EQ(record[offset], 0) << "record byte " << offset;
    }
    for (std::size_t i = 0; i < margin; ++i) {
        EXPECT_EQ(buffer[i], garbage) << "byte " << i << " before the record";
        EXPECT_EQ(buffer[margin + 120 + i], garbage) << "byte " << i << " after the record";
    }
}
