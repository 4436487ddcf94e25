#include "Screen/Windows/WindowText.hpp"

#include "Record/PathText.hpp"

namespace HostSim {

std::wstring WideText(const std::string& utf8) {
    return PathFromUtf8(utf8).wstring();
}

std::string Utf8Text(const std::wstring& wide) {
    return PathToUtf8(std::filesystem::path(wide));
}

std::string WindowCaption(HWND window) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return Utf8Text(text);
}

HFONT DialogFont() {
    static const HFONT font = [] {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof(metrics);
        if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
            if (HFONT made = ::CreateFontIndirectW(&metrics.lfMessageFont)) {
                return made;
            }
        }
        return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    }();
    return font;
}

} // namespace HostSim
