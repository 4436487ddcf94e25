#include "Snapshots/DialogSnapshot.hpp"

#include "Record/PathText.hpp"
#include "XmlText.hpp"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace HostSim {

namespace {

constexpr int TitleBarHeight = 24;
constexpr int FontSize = 12;
constexpr double CharacterWidth = 6.6; // an average glyph at FontSize, for wrapping

// Every text a picture shows goes through SafWorkbook::EscapeXml: markup escaped, and the control
// characters that no XML document (so no SVG) can hold dropped. A translator's name may hold one.

std::string Base64(const std::vector<std::uint8_t>& bytes) {
    static const char* alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (std::size_t index = 0; index < bytes.size(); index += 3) {
        const std::size_t left = bytes.size() - index;
        const unsigned chunk = (static_cast<unsigned>(bytes[index]) << 16) |
                               (left > 1 ? static_cast<unsigned>(bytes[index + 1]) << 8 : 0u) |
                               (left > 2 ? static_cast<unsigned>(bytes[index + 2]) : 0u);
        out += alphabet[(chunk >> 18) & 63u];
        out += alphabet[(chunk >> 12) & 63u];
        out += left > 1 ? alphabet[(chunk >> 6) & 63u] : '=';
        out += left > 2 ? alphabet[chunk & 63u] : '=';
    }
    return out;
}

// Breaks a text into lines that fit `width` at the average glyph width, at spaces where it can.
std::vector<std::string> Wrapped(const std::string& text, int width) {
    const auto perLine = static_cast<std::size_t>(std::max(1.0, width / CharacterWidth));
    std::vector<std::string> lines;
    std::istringstream words(text);
    std::string word;
    std::string line;
    while (words >> word) {
        if (!line.empty() && line.size() + 1 + word.size() > perLine) {
            lines.push_back(line);
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
    }
    if (!line.empty()) {
        lines.push_back(line);
    }
    return lines;
}

void TextLines(std::ostringstream& out, const DG::ItemModel& item, int x, int y) {
    int baseline = y + FontSize + 2;
    for (const std::string& line : Wrapped(item.text, item.width)) {
        out << "<text x=\"" << x << "\" y=\"" << baseline << "\">" << SafWorkbook::EscapeXml(line)
            << "</text>\n";
        baseline += FontSize + 3;
    }
}

void DrawItem(std::ostringstream& out, const DG::ItemModel& item, GSResModule module,
              const IconImageLookup& icons) {
    const int x = item.left;
    const int y = item.top + TitleBarHeight;
    const int w = item.width;
    const int h = item.height;
    out << "<g id=\"item-" << item.number << "\"" << (item.enabled ? "" : " opacity=\"0.45\"") << ">\n";
    switch (item.kind) {
    case DG::ItemKind::PushButton:
        out << "<rect x=\"" << x << "\" y=\"" << y << "\" width=\"" << w << "\" height=\"" << h
            << "\" rx=\"4\" fill=\"#e9e9ed\" stroke=\"#8a8a8a\"/>\n"
            << "<text x=\"" << x + w / 2 << "\" y=\"" << y + h / 2 + FontSize / 2 - 1
            << "\" text-anchor=\"middle\">" << SafWorkbook::EscapeXml(item.text) << "</text>\n";
        break;
    case DG::ItemKind::CheckBox:
        out << "<rect x=\"" << x << "\" y=\"" << y + (h - 13) / 2
            << "\" width=\"13\" height=\"13\" fill=\"#fff\" "
            << "stroke=\"#6a6a6a\"/>\n";
        if (item.checked) {
            out << "<path d=\"M" << x + 3 << ' ' << y + h / 2
                << " l3 3 l5 -7\" fill=\"none\" stroke=\"#1a1a1a\" "
                << "stroke-width=\"2\"/>\n";
        }
        out << "<text x=\"" << x + 19 << "\" y=\"" << y + h / 2 + FontSize / 2 - 1 << "\">"
            << SafWorkbook::EscapeXml(item.text) << "</text>\n";
        break;
    case DG::ItemKind::PopUp: {
        const std::size_t selected = static_cast<std::size_t>(std::max<Int16>(item.selected, 0));
        const std::string shown = selected >= 1 && selected <= item.entries.size()
                                      ? item.entries[selected - 1].text
                                      : std::string();
        out << "<rect x=\"" << x << "\" y=\"" << y << "\" width=\"" << w << "\" height=\"" << h
            << "\" rx=\"3\" fill=\"#fff\" stroke=\"#8a8a8a\"/>\n"
            << "<text x=\"" << x + 6 << "\" y=\"" << y + h / 2 + FontSize / 2 - 1 << "\">"
            << SafWorkbook::EscapeXml(shown) << "</text>\n"
            << "<path d=\"M" << x + w - 16 << ' ' << y + h / 2 - 2 << " l5 5 l5 -5\" fill=\"none\" "
            << "stroke=\"#4a4a4a\" stroke-width=\"1.5\"/>\n";
        break;
    }
    case DG::ItemKind::StaticText:
        TextLines(out, item, x, y);
        break;
    case DG::ItemKind::Separator:
        out << "<line x1=\"" << x << "\" y1=\"" << y + h / 2 << "\" x2=\"" << x + w << "\" y2=\"" << y + h / 2
            << "\" stroke=\"#b0b0b0\"/>\n";
        break;
    case DG::ItemKind::Icon: {
        std::optional<std::vector<std::uint8_t>> image =
            icons ? icons(module, item.iconNumber) : std::nullopt;
        if (image) {
            out << "<image x=\"" << x << "\" y=\"" << y << "\" width=\"" << w << "\" height=\"" << h
                << "\" href=\"data:image/png;base64," << Base64(*image) << "\"/>\n";
        } else {
            out << "<rect x=\"" << x << "\" y=\"" << y << "\" width=\"" << w << "\" height=\"" << h
                << "\" fill=\"#d8d8d8\" stroke=\"#8a8a8a\"/>\n"
                << "<text x=\"" << x + w / 2 << "\" y=\"" << y + h / 2 + 3
                << "\" text-anchor=\"middle\" font-size=\"7\">" << item.iconNumber << "</text>\n";
        }
        break;
    }
    }
    out << "</g>\n";
}

std::string FileNamePart(const std::string& text) {
    std::string out;
    for (char c : text) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (plain) {
            out += c;
        } else if (!out.empty() && out.back() != '-') {
            out += '-';
        }
    }
    while (!out.empty() && out.back() == '-') {
        out.pop_back();
    }
    return out;
}

} // namespace

std::string DialogAsSvg(const DG::DialogModel& model, const IconImageLookup& icons) {
    std::ostringstream out;
    const int width = model.width;
    const int height = model.height + TitleBarHeight;
    out << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << width << "\" height=\"" << height
        << "\" viewBox=\"0 0 " << width << ' ' << height << "\" font-family=\"sans-serif\" font-size=\""
        << FontSize << "\">\n"
        << "<rect width=\"" << width << "\" height=\"" << height
        << "\" fill=\"#f4f4f4\" stroke=\"#7a7a7a\"/>\n"
        << "<rect width=\"" << width << "\" height=\"" << TitleBarHeight << "\" fill=\"#dcdcdc\"/>\n"
        << "<text x=\"" << width / 2 << "\" y=\"16\" text-anchor=\"middle\" font-weight=\"bold\">"
        << SafWorkbook::EscapeXml(model.title) << "</text>\n";
    for (const DG::ItemModel& item : model.items) {
        DrawItem(out, item, model.module, icons);
    }
    out << "</svg>\n";
    return out.str();
}

SnapshotWriter::SnapshotWriter(std::string utf8Folder, IconImageLookup icons)
    : folder(std::move(utf8Folder)), iconLookup(std::move(icons)) {}

std::string SnapshotWriter::Write(const DG::DialogModel& model, const std::string& event) {
    char number[16];
    std::snprintf(number, sizeof number, "%03u", ++sequence);
    const std::string name = std::string(number) + "-" + std::to_string(model.number) + "-" +
                             FileNamePart(model.title) + "-" + event + ".svg";
    std::error_code failure;
    const std::filesystem::path directory = PathFromUtf8(folder);
    std::filesystem::create_directories(directory, failure);
    std::ofstream file(directory / PathFromUtf8(name), std::ios::binary | std::ios::trunc);
    file << DialogAsSvg(model, iconLookup);
    file.close();
    return file ? std::string() : "cannot write the snapshot " + PathToUtf8(directory / PathFromUtf8(name));
}

} // namespace HostSim
