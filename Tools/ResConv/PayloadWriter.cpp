#include "PayloadWriter.hpp"

#include "ResFormat/ByteOrder.hpp"

#include <limits>
#include <stdexcept>

namespace ResConv {

namespace {

std::uint32_t CheckedCount(std::size_t count, const CheckedResource& resource) {
    if (count > std::numeric_limits<std::uint32_t>::max()) {
        throw std::length_error(std::string(resource.kind->word) + " " + resource.name.ToDisplayString() +
                                " is too large for a 32-bit byte count");
    }
    return static_cast<std::uint32_t>(count);
}

void AppendField(std::vector<std::uint8_t>& out, const CheckedField& field) {
    switch (field.type) {
    case FieldType::Text8:
        out.insert(out.end(), field.text.begin(), field.text.end());
        out.push_back(0);
        break;
    case FieldType::UInt16:
        ResFormat::AppendUInt16LE(out, static_cast<std::uint16_t>(field.number));
        break;
    }
}

std::vector<std::uint8_t> WriteHostFramed(const CheckedResource& resource) {
    std::vector<std::uint8_t> body;
    for (const CheckedRecord& record : resource.records) {
        for (const CheckedField& field : record.fields) {
            AppendField(body, field);
        }
    }
    std::vector<std::uint8_t> payload;
    ResFormat::AppendUInt32LE(payload, CheckedCount(body.size(), resource));
    payload.insert(payload.end(), body.begin(), body.end());
    return payload;
}

} // namespace

ResFormat::ResourceEntry WriteResourceEntry(const CheckedResource& resource) {
    ResFormat::ResourceEntry entry;
    entry.type = resource.kind->type;
    entry.name = resource.name;
    entry.language = resource.language;
    entry.memoryFlags = resource.kind->memoryFlags;
    switch (resource.kind->layout) {
    case PayloadLayout::HostFramed:
        entry.data = WriteHostFramed(resource);
        break;
    }
    CheckedCount(entry.data.size(), resource);
    return entry;
}

} // namespace ResConv
