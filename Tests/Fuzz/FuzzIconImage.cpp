#include "FuzzCheck.hpp"
#include "IconImage.hpp"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <variant>

// ResConv's icon readers: the PNG signature and header chunk, and the PAM header and pixels. Both get
// every input. An accepted PNG keeps the file's bytes unchanged; an accepted PAM has one RGBA quad per
// pixel and a size the icon directory can state.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const ResConv::IconImageOrProblem png = ResConv::ReadPngIconImage(bytes);
    if (const auto* image = std::get_if<ResConv::IconImage>(&png)) {
        FUZZ_REQUIRE(image->format == ResConv::IconImage::Format::Png, "a PNG reads as a PNG");
        FUZZ_REQUIRE(std::string_view(reinterpret_cast<const char*>(image->bytes.data()),
                                      image->bytes.size()) == bytes,
                     "a PNG icon holds the file's bytes unchanged");
    } else {
        FUZZ_REQUIRE(!std::get<std::string>(png).empty(), "a refused PNG says why");
    }

    const ResConv::IconImageOrProblem pam = ResConv::ReadPamIconImage(bytes);
    if (const auto* image = std::get_if<ResConv::IconImage>(&pam)) {
        FUZZ_REQUIRE(image->format == ResConv::IconImage::Format::Bitmap, "a PAM reads as a bitmap");
        FUZZ_REQUIRE(image->width >= 1 && image->width <= 256 && image->height >= 1 && image->height <= 256,
                     "a bitmap icon is 1 to 256 pixels each way");
        FUZZ_REQUIRE(image->bytes.size() == std::size_t{4} * image->width * image->height,
                     "a bitmap holds four bytes per pixel");
    } else {
        FUZZ_REQUIRE(!std::get<std::string>(pam).empty(), "a refused PAM says why");
    }
    return 0;
}
