#pragma once

#include "ByteOrder/LittleEndian.hpp"

#include <cstdint>
#include <string>
#include <vector>

// Builds "GSDG" dialog layouts byte by byte, as the module's resources hold them: a 32-bit count of
// the rest, 16-bit little-endian words, NUL-terminated texts, nothing aligned.
namespace DGTest {

class LayoutBytes {
public:
    LayoutBytes(std::uint16_t width, std::uint16_t height, const std::string& title) {
        for (std::uint16_t word :
             {std::uint16_t{4}, std::uint16_t{0}, std::uint16_t{0}, std::uint16_t{0}, width, height}) {
            Word(word);
        }
        Text(title);
        itemCountOffset = body.size();
        Word(0);
    }

    LayoutBytes& Button(std::uint16_t left, std::uint16_t top, std::uint16_t width, std::uint16_t height,
                        const std::string& text) {
        Common(1, 7, left, top, width, height);
        Word(0);
        Word(0);
        Text(text);
        return *this;
    }
    LayoutBytes& CheckBox(std::uint16_t left, std::uint16_t top, std::uint16_t width, std::uint16_t height,
                          const std::string& text) {
        Common(2, 1, left, top, width, height);
        Word(0);
        Text(text);
        return *this;
    }
    // `listHeight` is the seventh word, `closedHeight` the first after it.
    LayoutBytes& PopUp(std::uint16_t left, std::uint16_t top, std::uint16_t width, std::uint16_t listHeight,
                       std::uint16_t closedHeight) {
        Common(5, 0, left, top, width, listHeight);
        Word(closedHeight);
        Word(3);
        Word(0);
        return *this;
    }
    LayoutBytes& StaticText(std::uint16_t style, std::uint16_t left, std::uint16_t top, std::uint16_t width,
                            std::uint16_t height, std::uint16_t secondWord, const std::string& text) {
        Common(13, style, left, top, width, height);
        Word(0);
        Word(secondWord);
        Text(text);
        return *this;
    }
    LayoutBytes& Separator(std::uint16_t left, std::uint16_t top, std::uint16_t width, std::uint16_t height) {
        Common(15, 0, left, top, width, height);
        return *this;
    }
    LayoutBytes& Icon(std::uint16_t left, std::uint16_t top, std::uint16_t width, std::uint16_t height,
                      std::uint16_t icon) {
        Common(16, 0, left, top, width, height);
        Word(0);
        Word(icon);
        return *this;
    }

    std::vector<std::uint8_t> Bytes() const {
        std::vector<std::uint8_t> bytes;
        LittleEndian::Append32(bytes, static_cast<std::uint32_t>(body.size()));
        bytes.insert(bytes.end(), body.begin(), body.end());
        bytes[4 + itemCountOffset] = static_cast<std::uint8_t>(itemCount & 0xFFu);
        bytes[4 + itemCountOffset + 1] = static_cast<std::uint8_t>(itemCount >> 8);
        return bytes;
    }

private:
    void Common(std::uint16_t kind, std::uint16_t style, std::uint16_t left, std::uint16_t top,
                std::uint16_t width, std::uint16_t height) {
        ++itemCount;
        for (std::uint16_t word : {itemCount, kind, style, left, top, width, height}) {
            Word(word);
        }
    }
    void Word(std::uint16_t word) { LittleEndian::Append16(body, word); }
    void Text(const std::string& text) {
        body.insert(body.end(), text.begin(), text.end());
        body.push_back(0);
    }

    std::vector<std::uint8_t> body;
    std::size_t itemCountOffset = 0;
    std::uint16_t itemCount = 0;
};

// The export settings dialog's layout, item by item as the module carries it (312 bytes).
inline std::vector<std::uint8_t> ExportSettingsLayout() {
    return LayoutBytes(360, 150, "VELD Engineer Export Settings")
        .Button(255, 117, 90, 23, "OK")
        .Button(155, 117, 90, 23, "Cancel")
        .StaticText(0x0400, 15, 5, 330, 23, 16, "SAF Translator for Export")
        .PopUp(15, 35, 230, 100, 23)
        .Button(255, 35, 90, 23, "Details...")
        .Icon(15, 68, 18, 18, 32700)
        .StaticText(0x0400, 40, 65, 305, 33, 0,
                    "To edit or create Translators, navigate to the SAF Translators dialog box.")
        .Separator(15, 105, 330, 2)
        .Bytes();
}

// The information dialog's layout (330 bytes): OK, icon, two texts, the check box last.
inline std::vector<std::uint8_t> InformationLayout() {
    return LayoutBytes(360, 165, "Information")
        .Button(255, 132, 90, 23, "OK")
        .Icon(15, 10, 18, 18, 32700)
        .StaticText(0x0400, 40, 5, 305, 23, 16, "Model is opening in VELD Engineer.")
        .StaticText(0, 40, 35, 305, 53, 0,
                    "To change export settings: choose a different translator at File > Interoperability > "
                    "VELD Engineer Connection > VELD Engineer Export Settings.")
        .CheckBox(15, 95, 330, 23, "Don't show this dialog again.")
        .Bytes();
}

} // namespace DGTest
