#pragma once

#include "CheckedModel.hpp"
#include "IconImage.hpp"
#include "ResFormat/ResourceEntry.hpp"

#include <cstdint>
#include <vector>

namespace ResConv {

// An icon resource's bytes: a PNG image as its file holds it; a bitmap image as the icon format wants
// it: a BITMAPINFOHEADER whose height counts the colour rows and the mask rows (twice the image's),
// the colour rows bottom-up as blue, green, red, alpha, then the 1-bit mask (1 where the pixel is fully
// transparent), bottom-up, each row padded to 32 bits.
std::vector<std::uint8_t> WriteIconImage(const IconImage& image);

// An icon group's directory: reserved 0, type 1, the entry count, then per entry width, height,
// colour count 0, reserved 0, planes 1, bit count, the icon's byte size and its number. The byte sizes
// are those of the icon resources already written (`written`), of the group's language.
std::vector<std::uint8_t> WriteIconDirectory(const CheckedResource& group,
                                             const std::vector<ResFormat::ResourceEntry>& written);

} // namespace ResConv
