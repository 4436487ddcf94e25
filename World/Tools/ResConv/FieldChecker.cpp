#include "FieldChecker.hpp"

#include <cstdint>
#include <string_view>

namespace ResConv {

namespace {

std::string DescribeValue(const SourceValue& value) {
    switch (value.kind) {
    case ValueKind::Number:
        return "the number " + std::to_string(value.number);
    case ValueKind::Word:
        return "the word " + value.text;
    case ValueKind::Text:
        break;
    }
    return "a quoted text";
}

bool IsFile(FieldType type) {
    return type == FieldType::PngImageFile || type == FieldType::BitmapImageFile ||
           type == FieldType::Utf8File;
}

// The offset of the first byte that breaks the pattern of UTF-8 lead and continuation bytes.
std::optional<std::size_t> FirstNonUtf8Byte(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<std::uint8_t>(bytes[i]);
        const std::size_t length = lead < 0x80           ? 1
                                   : (lead >> 5) == 0x6  ? 2
                                   : (lead >> 4) == 0xE  ? 3
                                   : (lead >> 3) == 0x1E ? 4
                                                         : 0;
        if (length == 0 || bytes.size() - i < length) {
            return i;
        }
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<std::uint8_t>(bytes[i + k]) & 0xC0) != 0x80) {
                return i;
            }
        }
        i += length;
    }
    return std::nullopt;
}

std::variant<CheckedField, std::string> CheckFile(const FieldShape& shape, const SourceValue& value,
                                                  const FileContext& files) {
    const std::filesystem::path path = ResolveBesideSource(files.sourceName, value.text);
    std::optional<std::string> content = files.loadFile(path);
    if (!content) {
        return "cannot read " + path.string();
    }
    if (content->empty()) {
        return path.string() + " is empty";
    }
    CheckedField field{&shape, 0, std::move(*content), std::nullopt};
    if (shape.type == FieldType::Utf8File) {
        if (const auto offset = FirstNonUtf8Byte(field.text)) {
            return path.string() + " is not UTF-8 (at byte " + std::to_string(*offset) + ")";
        }
        return field;
    }
    IconImageOrProblem image =
        shape.type == FieldType::PngImageFile ? ReadPngIconImage(field.text) : ReadPamIconImage(field.text);
    if (auto* problem = std::get_if<std::string>(&image)) {
        return path.string() + ": " + *problem;
    }
    field.image = std::move(std::get<IconImage>(image));
    return field;
}

} // namespace

std::optional<std::string> WidthProblem(std::int64_t value, FieldType type) {
    const int bits = type == FieldType::UInt8 ? 8 : type == FieldType::UInt16 ? 16 : 32;
    if (value < 0 || value >= (std::int64_t{1} << bits)) {
        return std::to_string(value) + " does not fit in " + std::to_string(bits) + " bits";
    }
    return std::nullopt;
}

std::variant<CheckedField, std::string> CheckSourceField(const FieldShape& shape, const SourceValue& value,
                                                         const FileContext& files) {
    if (shape.type == FieldType::Text8 || IsFile(shape.type)) {
        if (value.kind != ValueKind::Text) {
            return "expected a quoted " + std::string(IsFile(shape.type) ? "path" : "text") + ", got " +
                   DescribeValue(value);
        }
        if (value.text.find('\0') != std::string::npos) {
            return std::string("holds a NUL byte, which would end the text early");
        }
        return IsFile(shape.type) ? CheckFile(shape, value, files)
                                  : CheckedField{&shape, 0, value.text, std::nullopt};
    }
    if (value.kind != ValueKind::Number) {
        return "expected a number, got " + DescribeValue(value);
    }
    if (auto problem = WidthProblem(value.number, shape.type)) {
        return std::move(*problem);
    }
    return CheckedField{&shape, value.number, {}, std::nullopt};
}

CheckedField UnwrittenField(const FieldShape& shape) {
    return CheckedField{&shape, shape.fixedNumber, std::string(shape.fixedText), std::nullopt};
}

} // namespace ResConv
