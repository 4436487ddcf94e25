#include "IconResourceWriter.hpp"

#include "ByteOrder/LittleEndian.hpp"
#include "ResFormat/ResFileLayout.hpp"

#include <algorithm>
#include <stdexcept>

namespace ResConv {

namespace {

using LittleEndian::Append16;
using LittleEndian::Append32;

constexpr std::uint32_t BitmapInfoHeaderSize = 40;
constexpr std::uint16_t IconDirectoryType = 1;

std::size_t MaskRowBytes(std::uint32_t width) {
    return (std::size_t{width} + 31) / 32 * 4;
}

void AppendBitmapInfoHeader(std::vector<std::uint8_t>& out, const IconImage& image) {
    const std::size_t colourBytes = std::size_t{image.width} * image.height * 4;
    const std::size_t maskBytes = MaskRowBytes(image.width) * image.height;
    Append32(out, BitmapInfoHeaderSize);
    Append32(out, image.width);
    Append32(out, image.height * 2);
    Append16(out, 1);  // planes
    Append16(out, 32); // bits per pixel
    Append32(out, 0);  // BI_RGB: uncompressed
    Append32(out, static_cast<std::uint32_t>(colourBytes + maskBytes));
    for (int unused = 0; unused < 4; ++unused) {
        Append32(out, 0); // resolution in x and y, colours used, colours important
    }
}

std::vector<std::uint8_t> WriteBitmap(const IconImage& image) {
    std::vector<std::uint8_t> out;
    AppendBitmapInfoHeader(out, image);
    const std::size_t rowBytes = std::size_t{image.width} * 4;
    for (std::uint32_t row = image.height; row-- > 0;) {
        const std::uint8_t* pixel = image.bytes.data() + row * rowBytes;
        for (std::uint32_t x = 0; x < image.width; ++x, pixel += 4) {
            out.insert(out.end(), {pixel[2], pixel[1], pixel[0], pixel[3]});
        }
    }
    for (std::uint32_t row = image.height; row-- > 0;) {
        std::vector<std::uint8_t> mask(MaskRowBytes(image.width), 0);
        for (std::uint32_t x = 0; x < image.width; ++x) {
            if (image.bytes[row * rowBytes + x * 4 + 3] == 0) {
                mask[x / 8] = static_cast<std::uint8_t>(mask[x / 8] | (0x80u >> (x % 8)));
            }
        }
        out.insert(out.end(), mask.begin(), mask.end());
    }
    return out;
}

std::uint32_t WrittenIconSize(std::uint16_t number, std::uint16_t language,
                              const std::vector<ResFormat::ResourceEntry>& written) {
    const auto icon =
        std::find_if(written.begin(), written.end(), [&](const ResFormat::ResourceEntry& entry) {
            return entry.type == ResFormat::ResName::Ordinal(ResFormat::TypeIcon) &&
                   entry.name == ResFormat::ResName::Ordinal(number) && entry.language == language;
        });
    if (icon == written.end()) {
        // The checker saw to it that the icon exists; its entry is written before any group.
        throw std::logic_error("icon " + std::to_string(number) + " was not written before its group");
    }
    return static_cast<std::uint32_t>(icon->data.size());
}

} // namespace

std::vector<std::uint8_t> WriteIconImage(const IconImage& image) {
    return image.format == IconImage::Format::Png ? image.bytes : WriteBitmap(image);
}

std::vector<std::uint8_t> WriteIconDirectory(const CheckedResource& group,
                                             const std::vector<ResFormat::ResourceEntry>& written) {
    std::vector<std::uint8_t> out;
    Append16(out, 0);
    Append16(out, IconDirectoryType);
    Append16(out, static_cast<std::uint16_t>(group.ItemCount()));
    for (const CheckedRecord& entry : group.records) {
        const auto number = static_cast<std::uint16_t>(entry.Field("icon").number);
        out.push_back(static_cast<std::uint8_t>(entry.Field("width").number));
        out.push_back(static_cast<std::uint8_t>(entry.Field("height").number));
        out.push_back(0); // colour count: none for images of more than 8 bits per pixel
        out.push_back(0); // reserved
        Append16(out, 1); // planes
        Append16(out, static_cast<std::uint16_t>(entry.Field("bit count").number));
        Append32(out, WrittenIconSize(number, group.language, written));
        Append16(out, number);
    }
    return out;
}

} // namespace ResConv
