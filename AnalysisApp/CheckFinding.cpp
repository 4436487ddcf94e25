#include "CheckFinding.hpp"

namespace AnalysisApp {

const char* SeverityName(Severity severity) {
    return severity == Severity::Error ? "error" : "warning";
}

std::string ShownSafely(std::string_view text) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t index = 0; index < text.size(); ++index) {
        const auto byte = static_cast<unsigned char>(text[index]);
        const bool c1 = byte == 0xC2 && index + 1 < text.size() &&
                        static_cast<unsigned char>(text[index + 1]) >= 0x80 &&
                        static_cast<unsigned char>(text[index + 1]) <= 0x9F;
        if (byte == '\n') {
            shown += "\\n";
        } else if (byte == '\r') {
            shown += "\\r";
        } else if (byte == '\t') {
            shown += "\\t";
        } else if (byte < 0x20 || byte == 0x7F) {
            shown += std::string("\\x") + Hex[byte >> 4] + Hex[byte & 0xF];
        } else if (c1) {
            const auto code = static_cast<unsigned char>(text[++index]);
            shown += std::string("\\u00") + Hex[code >> 4] + Hex[code & 0xF];
        } else {
            shown += static_cast<char>(byte);
        }
    }
    return shown;
}

std::string FormatFinding(const std::string& file, const CheckFinding& finding) {
    std::string place = ShownSafely(file) + ": ";
    if (!finding.sheet.empty()) {
        place += ShownSafely(finding.sheet) + (finding.cell.empty() ? "" : "!" + finding.cell) + ": ";
    }
    return place + SeverityName(finding.severity) + ": " + ShownSafely(finding.message);
}

int ExitCodeOf(const CheckReport& report) {
    if (!report.readable) {
        return 2;
    }
    return report.errors > 0 ? 1 : 0;
}

} // namespace AnalysisApp
