#include "DebugFormat.hpp"

#include "TextEncoding.hpp"

namespace GS {

namespace {

std::string Utf16Argument(const char16_t* text) {
    if (text == nullptr) {
        return "(null)";
    }
    std::size_t length = 0;
    while (text[length] != u'\0') {
        ++length;
    }
    return TextEncoding::EncodeUtf8Lossy(text, length);
}

} // namespace

std::string FormatDebugText(const char* format, std::va_list arguments) {
    if (format == nullptr) {
        return "(null)";
    }
    std::va_list args;
    va_copy(args, arguments);
    std::string out;
    for (const char* p = format; *p != '\0';) {
        if (*p != '%') {
            out += *p++;
        } else if (p[1] == '%') {
            out += '%';
            p += 2;
        } else if (p[1] == 'd' || p[1] == 'i') {
            out += std::to_string(va_arg(args, int));
            p += 2;
        } else if (p[1] == 's') {
            out += Utf16Argument(va_arg(args, const char16_t*));
            p += 2;
        } else if (p[1] == 'h' && p[2] == 's') {
            const char* text = va_arg(args, const char*);
            out += text != nullptr ? text : "(null)";
            p += 3;
        } else {
            out += *p++;
        }
    }
    va_end(args);
    return out;
}

} // namespace GS
