#include "RegistryStore.hpp"

#include "ByteOrder/LittleEndian.hpp"

#include "TextEncoding.hpp"

#include <cstdio>

namespace GS::RegistryStore {

namespace {

constexpr std::size_t WrapColumn = 80;

std::string Utf8(const std::u16string& text) {
    return TextEncoding::EncodeUtf8Lossy(text.data(), text.size());
}

std::string Escape(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        if (c == '\\' || c == '"') {
            escaped += '\\';
        }
        escaped += c;
    }
    return escaped;
}

// "text" carries neither line breaks nor unpaired surrogates; such strings go out as hex(1).
bool FitsQuotedForm(const std::u16string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit < 0x20 || unit == 0x7F) {
            return false;
        }
        if (TextEncoding::IsHighSurrogate(unit)) {
            if (i + 1 >= text.size() || !TextEncoding::IsLowSurrogate(text[i + 1])) {
                return false;
            }
            ++i;
        } else if (TextEncoding::IsLowSurrogate(unit)) {
            return false;
        }
    }
    return true;
}

std::string HexByte(UInt8 byte) {
    char text[3];
    std::snprintf(text, sizeof(text), "%02x", static_cast<unsigned>(byte));
    return text;
}

void WriteByteList(std::string& out, std::string line, const std::vector<UInt8>& bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        line += HexByte(bytes[i]);
        if (i + 1 < bytes.size()) {
            line += ',';
            if (line.size() + 3 > WrapColumn - 2) {
                out += line + "\\\n";
                line = "  ";
            }
        }
    }
    out += line + "\n";
}

std::vector<UInt8> Utf16LittleEndianWithNul(const std::u16string& text) {
    std::vector<UInt8> bytes;
    for (const char16_t unit : text) {
        LittleEndian::Append16(bytes, unit);
    }
    LittleEndian::Append16(bytes, 0);
    return bytes;
}

void WriteValue(std::string& out, const Value& value) {
    const std::string name = value.name.empty() ? "@" : "\"" + Escape(Utf8(value.name)) + "\"";
    if (value.type == StringType && FitsQuotedForm(value.text)) {
        out += name + "=\"" + Escape(Utf8(value.text)) + "\"\n";
    } else if (value.type == StringType) {
        WriteByteList(out, name + "=hex(1):", Utf16LittleEndianWithNul(value.text));
    } else if (value.type == DWordType && value.bytes.size() == 4) {
        char digits[9];
        std::snprintf(digits, sizeof(digits), "%08x", LittleEndian::Read32(value.bytes.data()));
        out += name + "=dword:" + digits + "\n";
    } else if (value.type == BinaryType) {
        WriteByteList(out, name + "=hex:", value.bytes);
    } else {
        char type[16];
        std::snprintf(type, sizeof(type), "%x", value.type);
        WriteByteList(out, name + "=hex(" + type + "):", value.bytes);
    }
}

void WriteKey(std::string& out, const Key& key, const std::string& path, bool isHive) {
    if (!isHive || !key.values.empty()) {
        out += "[" + path + "]\n";
        for (const Value& value : key.values) {
            WriteValue(out, value);
        }
        out += "\n";
    }
    for (const Key& subKey : key.subKeys) {
        WriteKey(out, subKey, path + "\\" + Utf8(subKey.name), false);
    }
}

} // namespace

std::string Write(const Hive& hive) {
    std::string out = "Windows Registry Editor Version 5.00\n\n";
    WriteKey(out, hive.root, Utf8(hive.root.name), true);
    return out;
}

} // namespace GS::RegistryStore
