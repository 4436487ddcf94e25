#include "JsonFault.hpp"

#include "JsonDocumentReader.hpp"

namespace SAF {

JsonRead ReadJson(const std::string& text) {
    JsonDocument::ReadResult<nlohmann::ordered_json> read = JsonDocument::Read<nlohmann::ordered_json>(text);
    return {std::move(read.document), std::move(read.error)};
}

std::string Utf8Of(const GS::UniString& text) {
    const GS::UniString::CStr utf8 = text.ToUTF8();
    return std::string(utf8.Get(), utf8.GetLength());
}

} // namespace SAF
