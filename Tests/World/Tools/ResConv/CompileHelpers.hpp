#pragma once

#include "ByteOrder/LittleEndian.hpp"
#include "Compiler.hpp"
#include "ResFormat/ResFileReader.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// Sources and the files they name, held in memory, compiled as ResConv compiles them from disk.
namespace ResConvTest {

using Files = std::map<std::string, std::string>;

inline ResConv::FileLoader LoaderFor(const Files& files) {
    return [&files](const std::filesystem::path& path) -> std::optional<std::string> {
        const auto found = files.find(path.generic_string());
        return found == files.end() ? std::nullopt : std::optional<std::string>(found->second);
    };
}

// What ResConv prints for the sources; each error case also proves that nothing was written.
inline std::string ErrorsFor(const std::vector<ResConv::SourceText>& sources, const Files& files = {}) {
    const ResConv::Compilation compilation = ResConv::CompileSources(sources, LoaderFor(files));
    EXPECT_TRUE(compilation.resFile.empty());
    return compilation.diagnostics.Format();
}

// Compiles, then reads the .res back with the reader that RS uses.
inline std::vector<ResFormat::ResourceEntry>
CompileAndReadBack(const std::vector<ResConv::SourceText>& sources, const Files& files = {}) {
    const ResConv::Compilation compilation = ResConv::CompileSources(sources, LoaderFor(files));
    EXPECT_EQ(compilation.diagnostics.Format(), "");
    const ResFormat::ResFileContents contents = ResFormat::ReadResFile(compilation.resFile);
    EXPECT_FALSE(contents.problem.has_value()) << contents.problem->message;
    return contents.entries;
}

inline void AppendBigEndian32(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<char>((value >> shift) & 0xFFu));
    }
}

// The start of a PNG file as far as the compiler reads it: the signature and the IHDR chunk, then an
// IEND chunk (the CRCs are not looked at, so they are left 0).
inline std::string PngHead(std::uint32_t width, std::uint32_t height, std::uint8_t depth = 8,
                           std::uint8_t colourType = 6) {
    std::string png = "\x89PNG\r\n\x1A\n";
    AppendBigEndian32(png, 13);
    png += "IHDR";
    AppendBigEndian32(png, width);
    AppendBigEndian32(png, height);
    png += {static_cast<char>(depth), static_cast<char>(colourType), 0, 0, 0};
    AppendBigEndian32(png, 0);
    AppendBigEndian32(png, 0);
    png += "IEND";
    AppendBigEndian32(png, 0);
    return png;
}

// A PAM file of `width` x `height` RGBA pixels, given row by row from the top.
inline std::string Pam(std::uint32_t width, std::uint32_t height, const std::vector<std::uint8_t>& rgba) {
    std::string pam = "P7\nWIDTH " + std::to_string(width) + "\nHEIGHT " + std::to_string(height) +
                      "\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
    pam.append(rgba.begin(), rgba.end());
    return pam;
}

// A PAM file of one colour.
inline std::string PlainPam(std::uint32_t width, std::uint32_t height) {
    std::vector<std::uint8_t> pixels;
    for (std::uint32_t i = 0; i < width * height; ++i) {
        pixels.insert(pixels.end(), {0x10, 0x20, 0x30, 0xFF});
    }
    return Pam(width, height, pixels);
}

inline std::uint32_t ReadUInt32LE(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return LittleEndian::Read32(bytes.data() + at);
}

} // namespace ResConvTest
