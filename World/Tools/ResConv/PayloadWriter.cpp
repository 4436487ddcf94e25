#include "PayloadWriter.hpp"

#include "ByteOrder/LittleEndian.hpp"
#include "IconResourceWriter.hpp"

#include <limits>
#include <stdexcept>

namespace ResConv {

namespace {

std::uint32_t CheckedCount(std::size_t count, const CheckedResource& resource) {
    if (count > std::numeric_limits<std::uint32_t>::max()) {
        throw std::length_error(resource.displayName + " is too large for a 32-bit byte count");
    }
    return static_cast<std::uint32_t>(count);
}

void AppendNumber(std::vector<std::uint8_t>& out, FieldType type, std::int64_t number) {
    switch (type) {
    case FieldType::UInt8:
        out.push_back(static_cast<std::uint8_t>(number));
        break;
    case FieldType::UInt16:
        LittleEndian::Append16(out, static_cast<std::uint16_t>(number));
        break;
    case FieldType::UInt32:
        LittleEndian::Append32(out, static_cast<std::uint32_t>(number));
        break;
    default:
        throw std::logic_error("not a number field");
    }
}

void AppendField(std::vector<std::uint8_t>& out, const CheckedField& field, const CheckedResource& resource) {
    if (field.shape->origin == FieldOrigin::ItemCount) {
        AppendNumber(out, field.shape->type, static_cast<std::int64_t>(resource.ItemCount()));
    } else if (field.shape->type == FieldType::Text8) {
        out.insert(out.end(), field.text.begin(), field.text.end());
        out.push_back(0);
    } else {
        AppendNumber(out, field.shape->type, field.number);
    }
}

std::vector<std::uint8_t> WriteHostFramed(const CheckedResource& resource) {
    std::vector<std::uint8_t> body;
    for (const CheckedRecord& record : resource.records) {
        for (const CheckedField& field : record.fields) {
            AppendField(body, field, resource);
        }
    }
    std::vector<std::uint8_t> payload;
    LittleEndian::Append32(payload, CheckedCount(body.size(), resource));
    payload.insert(payload.end(), body.begin(), body.end());
    return payload;
}

const CheckedField& OnlyField(const CheckedResource& resource) {
    return resource.records.front().fields.front();
}

} // namespace

ResFormat::ResourceEntry WriteResourceEntry(const CheckedResource& resource,
                                            const std::vector<ResFormat::ResourceEntry>& written) {
    ResFormat::ResourceEntry entry;
    entry.type = resource.kind->type;
    entry.name = resource.name;
    entry.language = resource.language;
    entry.memoryFlags = resource.kind->memoryFlags;
    switch (resource.kind->layout) {
    case PayloadLayout::HostFramed:
        entry.data = WriteHostFramed(resource);
        break;
    case PayloadLayout::IconImage:
        entry.data = WriteIconImage(*OnlyField(resource).image);
        break;
    case PayloadLayout::IconDirectory:
        entry.data = WriteIconDirectory(resource, written);
        break;
    case PayloadLayout::FileContent:
        entry.data.assign(OnlyField(resource).text.begin(), OnlyField(resource).text.end());
        break;
    }
    CheckedCount(entry.data.size(), resource);
    return entry;
}

} // namespace ResConv
