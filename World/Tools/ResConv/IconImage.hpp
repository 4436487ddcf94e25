#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// An icon's picture as the checker read it from its file, ready for the writer.
namespace ResConv {

struct IconImage {
    enum class Format { Png, Bitmap };

    Format format = Format::Png;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    // PNG: the file's bytes, which the icon resource holds unchanged. Bitmap: the pixels, rows from
    // the top, 4 bytes each in the order red, green, blue, alpha.
    std::vector<std::uint8_t> bytes;
};

// The image, or why the file cannot be one.
using IconImageOrProblem = std::variant<IconImage, std::string>;

// A PNG file with 8 bits per channel, red, green, blue and alpha (colour type 6): the only PNG form
// the host's icons take. Only the signature and the header chunk are read.
IconImageOrProblem ReadPngIconImage(std::string_view fileBytes);

// A PAM file ("P7", TUPLTYPE RGB_ALPHA, DEPTH 4, MAXVAL 255), at most 256 pixels wide and high: the
// icon directory states a bitmap's size in one byte (0 for 256).
IconImageOrProblem ReadPamIconImage(std::string_view fileBytes);

} // namespace ResConv
