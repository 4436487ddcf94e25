#include "IconImage.hpp"

#include <charconv>
#include <map>
#include <optional>

namespace ResConv {

namespace {

constexpr std::string_view PngSignature = "\x89PNG\r\n\x1A\n";
// Signature, then the IHDR chunk: length, type, 13 bytes of header, CRC.
constexpr std::size_t PngHeaderEnd = 8 + 4 + 4 + 13 + 4;
constexpr std::uint8_t PngColourTypeRgba = 6;
constexpr std::uint32_t LargestBitmapIcon = 256;

std::uint32_t ReadUInt32BE(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value = (value << 8) | static_cast<std::uint8_t>(bytes[at + i]);
    }
    return value;
}

std::vector<std::uint8_t> ToBytes(std::string_view text) {
    return {text.begin(), text.end()};
}

std::optional<std::uint32_t> ParseCount(std::string_view text) {
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// The header's "KEY VALUE" lines up to ENDHDR, and where the pixels begin.
struct PamHeader {
    std::map<std::string, std::string, std::less<>> fields;
    std::size_t dataStart = 0;
};

std::variant<PamHeader, std::string> ReadPamHeader(std::string_view bytes) {
    if (bytes.substr(0, 3) != "P7\n") {
        return std::string("not a PAM image (it does not begin with \"P7\")");
    }
    PamHeader header;
    std::size_t position = 3;
    while (position < bytes.size()) {
        const std::size_t end = bytes.find('\n', position);
        if (end == std::string_view::npos) {
            break;
        }
        const std::string_view line = bytes.substr(position, end - position);
        position = end + 1;
        if (line == "ENDHDR") {
            header.dataStart = position;
            return header;
        }
        if (line.empty() || line.front() == '#') {
            continue;
        }
        const std::size_t space = line.find(' ');
        header.fields[std::string(line.substr(0, space))] =
            space == std::string_view::npos ? std::string() : std::string(line.substr(space + 1));
    }
    return std::string("PAM header has no ENDHDR line");
}

std::optional<std::uint32_t> HeaderCount(const PamHeader& header, std::string_view key) {
    const auto found = header.fields.find(key);
    return found == header.fields.end() ? std::nullopt : ParseCount(found->second);
}

} // namespace

IconImageOrProblem ReadPngIconImage(std::string_view fileBytes) {
    if (fileBytes.substr(0, PngSignature.size()) != PngSignature) {
        return std::string("not a PNG image (it does not begin with the PNG signature)");
    }
    if (fileBytes.size() < PngHeaderEnd || ReadUInt32BE(fileBytes, 8) != 13 ||
        fileBytes.substr(12, 4) != "IHDR") {
        return std::string("PNG image does not begin with its 13-byte IHDR chunk");
    }
    IconImage image;
    image.format = IconImage::Format::Png;
    image.width = ReadUInt32BE(fileBytes, 16);
    image.height = ReadUInt32BE(fileBytes, 20);
    const auto bitDepth = static_cast<std::uint8_t>(fileBytes[24]);
    const auto colourType = static_cast<std::uint8_t>(fileBytes[25]);
    if (image.width == 0 || image.height == 0) {
        return std::string("PNG image has no pixels");
    }
    if (bitDepth != 8 || colourType != PngColourTypeRgba) {
        return "PNG image has bit depth " + std::to_string(bitDepth) + " and colour type " +
               std::to_string(colourType) + ": icons take 8-bit RGBA (colour type 6)";
    }
    image.bytes = ToBytes(fileBytes);
    return image;
}

IconImageOrProblem ReadPamIconImage(std::string_view fileBytes) {
    auto read = ReadPamHeader(fileBytes);
    if (auto* problem = std::get_if<std::string>(&read)) {
        return std::move(*problem);
    }
    const PamHeader& header = std::get<PamHeader>(read);
    const auto width = HeaderCount(header, "WIDTH");
    const auto height = HeaderCount(header, "HEIGHT");
    const auto tupleType = header.fields.find("TUPLTYPE");
    if (!width || !height || HeaderCount(header, "DEPTH") != 4u || HeaderCount(header, "MAXVAL") != 255u ||
        tupleType == header.fields.end() || tupleType->second != "RGB_ALPHA") {
        return std::string("PAM image is not RGB_ALPHA with WIDTH, HEIGHT, DEPTH 4 and MAXVAL 255");
    }
    if (*width == 0 || *height == 0 || *width > LargestBitmapIcon || *height > LargestBitmapIcon) {
        return "PAM image is " + std::to_string(*width) + " x " + std::to_string(*height) +
               ": bitmap icons are 1 to 256 pixels wide and high";
    }
    const std::size_t expected = std::size_t{*width} * *height * 4;
    const std::size_t present = fileBytes.size() - header.dataStart;
    if (present != expected) {
        return "PAM image holds " + std::to_string(present) + " bytes of pixels where " +
               std::to_string(*width) + " x " + std::to_string(*height) + " needs " +
               std::to_string(expected);
    }
    IconImage image;
    image.format = IconImage::Format::Bitmap;
    image.width = *width;
    image.height = *height;
    image.bytes = ToBytes(fileBytes.substr(header.dataStart));
    return image;
}

} // namespace ResConv
