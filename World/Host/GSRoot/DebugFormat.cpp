#include "DebugFormat.hpp"

#include "TextEncoding.hpp"

#include <cstdio>
#include <cstring>

namespace GS {

namespace {

// Keeps a hostile "%999999999d" from asking for a gigabyte of padding.
constexpr int MaxFieldWidth = 4096;

enum class Length { None, Char, Short, Long, LongLong, Size };

struct Conversion {
    std::string flags;
    int width = -1;
    int precision = -1;
    Length length = Length::None;
    char type = 0;
};

bool IsFlag(char c) {
    return c == '-' || c == '+' || c == ' ' || c == '#' || c == '0';
}

int Clamp(long value) {
    return value > MaxFieldWidth ? MaxFieldWidth : static_cast<int>(value);
}

// Reads digits or '*'; returns -1 when there are none.
int ReadNumber(const char*& p, std::va_list& arguments, bool& negativeStar) {
    negativeStar = false;
    if (*p == '*') {
        ++p;
        const int value = va_arg(arguments, int);
        if (value < 0) {
            negativeStar = true;
            return value == -2147483647 - 1 ? MaxFieldWidth : Clamp(-static_cast<long>(value));
        }
        return Clamp(value);
    }
    if (*p < '0' || *p > '9') {
        return -1;
    }
    long value = 0;
    while (*p >= '0' && *p <= '9') {
        value = value * 10 + (*p - '0');
        if (value > MaxFieldWidth) {
            value = MaxFieldWidth;
        }
        ++p;
    }
    return static_cast<int>(value);
}

Length ReadLength(const char*& p) {
    if (*p == 'h') {
        ++p;
        if (*p == 'h') {
            ++p;
            return Length::Char;
        }
        return Length::Short;
    }
    if (*p == 'l') {
        ++p;
        if (*p == 'l') {
            ++p;
            return Length::LongLong;
        }
        return Length::Long;
    }
    if (*p == 'z') {
        ++p;
        return Length::Size;
    }
    return Length::None;
}

// Counts characters, not bytes, so that width pads UTF-8 text as a reader sees it.
std::size_t CountCharacters(const std::string& utf8) {
    std::size_t count = 0;
    for (const char c : utf8) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++count;
        }
    }
    return count;
}

void AppendPadded(std::string& out, const std::string& text, const Conversion& conversion) {
    const std::size_t shown = CountCharacters(text);
    const std::size_t width = conversion.width > 0 ? static_cast<std::size_t>(conversion.width) : 0;
    const std::size_t padding = width > shown ? width - shown : 0;
    const bool leftJustify = conversion.flags.find('-') != std::string::npos;
    if (!leftJustify) {
        out.append(padding, ' ');
    }
    out += text;
    if (leftJustify) {
        out.append(padding, ' ');
    }
}

std::string Utf16Argument(const char16_t* text, int precision) {
    if (text == nullptr) {
        return "(null)";
    }
    std::size_t length = 0;
    while ((precision < 0 || length < static_cast<std::size_t>(precision)) && text[length] != u'\0') {
        ++length;
    }
    return TextEncoding::EncodeUtf8Lossy(text, length);
}

std::string Utf8Argument(const char* text, int precision) {
    if (text == nullptr) {
        return "(null)";
    }
    const std::size_t length =
        precision < 0 ? std::strlen(text) : strnlen(text, static_cast<std::size_t>(precision));
    return std::string(text, length);
}

// Rebuilds the conversion for the C library from parts already checked, so that snprintf never
// sees anything it could misread.
std::string NumericFormat(const Conversion& conversion, const char* lengthText) {
    std::string format = "%" + conversion.flags;
    if (conversion.width >= 0) {
        format += std::to_string(conversion.width);
    }
    if (conversion.precision >= 0) {
        format += "." + std::to_string(conversion.precision);
    }
    format += lengthText;
    format += conversion.type;
    return format;
}

template <typename Value>
std::string FormatNumber(const Conversion& conversion, const char* lengthText, Value value) {
    const std::string format = NumericFormat(conversion, lengthText);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    const int size = std::snprintf(nullptr, 0, format.c_str(), value);
    if (size <= 0) {
        return {};
    }
    std::string text(static_cast<std::size_t>(size) + 1, '\0');
    std::snprintf(text.data(), text.size(), format.c_str(), value);
#pragma GCC diagnostic pop
    text.resize(static_cast<std::size_t>(size));
    return text;
}

std::string FormatSigned(const Conversion& conversion, std::va_list& arguments) {
    switch (conversion.length) {
    case Length::Char:
        return FormatNumber(conversion, "",
                            static_cast<int>(static_cast<signed char>(va_arg(arguments, int))));
    case Length::Short:
        return FormatNumber(conversion, "", static_cast<int>(static_cast<short>(va_arg(arguments, int))));
    case Length::Long:
        return FormatNumber(conversion, "l", va_arg(arguments, long));
    case Length::LongLong:
        return FormatNumber(conversion, "ll", va_arg(arguments, long long));
    case Length::Size:
        return FormatNumber(conversion, "ll", static_cast<long long>(va_arg(arguments, std::size_t)));
    case Length::None:
    default:
        return FormatNumber(conversion, "", va_arg(arguments, int));
    }
}

std::string FormatUnsigned(const Conversion& conversion, std::va_list& arguments) {
    switch (conversion.length) {
    case Length::Char:
        return FormatNumber(conversion, "",
                            static_cast<unsigned>(static_cast<unsigned char>(va_arg(arguments, unsigned))));
    case Length::Short:
        return FormatNumber(conversion, "",
                            static_cast<unsigned>(static_cast<unsigned short>(va_arg(arguments, unsigned))));
    case Length::Long:
        return FormatNumber(conversion, "l", va_arg(arguments, unsigned long));
    case Length::LongLong:
        return FormatNumber(conversion, "ll", va_arg(arguments, unsigned long long));
    case Length::Size:
        return FormatNumber(conversion, "ll",
                            static_cast<unsigned long long>(va_arg(arguments, std::size_t)));
    case Length::None:
    default:
        return FormatNumber(conversion, "", va_arg(arguments, unsigned));
    }
}

std::string FormatCharacter(const Conversion& conversion, std::va_list& arguments) {
    const int value = va_arg(arguments, int);
    if (conversion.length == Length::Long) {
        const char16_t unit = static_cast<char16_t>(value);
        return TextEncoding::EncodeUtf8Lossy(&unit, 1);
    }
    return std::string(1, static_cast<char>(value));
}

std::string FormatPointer(std::va_list& arguments) {
    const void* pointer = va_arg(arguments, void*);
    char text[32];
    std::snprintf(text, sizeof(text), "0x%llx",
                  static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(pointer)));
    return text;
}

// Formats the conversion that starts after a '%'; returns false (taking no argument) for one it
// does not know, so that the caller copies it literally.
bool FormatConversion(const Conversion& conversion, std::va_list& arguments, std::string& out) {
    switch (conversion.type) {
    case 'd':
    case 'i':
        AppendPadded(out, FormatSigned(conversion, arguments), Conversion{});
        return true;
    case 'u':
    case 'x':
    case 'X':
        AppendPadded(out, FormatUnsigned(conversion, arguments), Conversion{});
        return true;
    case 'c':
        AppendPadded(out, FormatCharacter(conversion, arguments), conversion);
        return true;
    case 'p':
        AppendPadded(out, FormatPointer(arguments), conversion);
        return true;
    case 's':
        if (conversion.length == Length::Short) {
            AppendPadded(out, Utf8Argument(va_arg(arguments, const char*), conversion.precision), conversion);
        } else {
            AppendPadded(out, Utf16Argument(va_arg(arguments, const char16_t*), conversion.precision),
                         conversion);
        }
        return true;
    default:
        return false;
    }
}

} // namespace

std::string FormatDebugText(const char* format, std::va_list arguments) {
    std::string out;
    if (format == nullptr) {
        return "(null)";
    }
    std::va_list args;
    va_copy(args, arguments);
    const char* p = format;
    while (*p != '\0') {
        if (*p != '%') {
            out += *p++;
            continue;
        }
        const char* start = p++;
        if (*p == '%') {
            out += '%';
            ++p;
            continue;
        }
        Conversion conversion;
        while (IsFlag(*p)) {
            conversion.flags += *p++;
        }
        bool negative = false;
        conversion.width = ReadNumber(p, args, negative);
        if (negative) {
            conversion.flags += '-';
        }
        if (*p == '.') {
            ++p;
            conversion.precision = ReadNumber(p, args, negative);
            if (negative || conversion.precision < 0) {
                conversion.precision = negative ? -1 : 0;
            }
        }
        conversion.length = ReadLength(p);
        conversion.type = *p;
        if (conversion.type != '\0' && FormatConversion(conversion, args, out)) {
            ++p;
        } else {
            out.append(start, p);
        }
    }
    va_end(args);
    return out;
}

} // namespace GS
