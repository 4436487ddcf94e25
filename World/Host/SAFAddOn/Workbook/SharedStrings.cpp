#include "SharedStrings.hpp"

#include "XmlText.hpp"

namespace SafWorkbook {

std::optional<std::uint32_t> SharedStrings::IndexOf(std::string_view text) {
    ++uses;
    const auto found = indices.find(std::string(text));
    if (found != indices.end()) {
        return found->second;
    }
    if (texts.size() >= Capacity) {
        return std::nullopt;
    }
    const auto index = static_cast<std::uint32_t>(texts.size());
    texts.emplace_back(text);
    indices.emplace(texts.back(), index);
    return index;
}

std::string SharedStrings::Xml() const {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                      "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" count=\"" +
                      std::to_string(uses) + "\" uniqueCount=\"" + std::to_string(texts.size()) + "\">";
    for (const std::string& text : texts) {
        const bool edgeSpace = !text.empty() && (text.front() == ' ' || text.back() == ' ');
        xml += edgeSpace ? "<si><t xml:space=\"preserve\">" : "<si><t>";
        AppendEscapedXml(xml, text);
        xml += "</t></si>";
    }
    return xml + "</sst>";
}

} // namespace SafWorkbook
