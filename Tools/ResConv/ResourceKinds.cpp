#include "ResourceKinds.hpp"

#include "ResFormat/ResFileLayout.hpp"
#include "ResFormat/StringListFormat.hpp"

namespace ResConv {

namespace {

// GSResID is a signed 16-bit number: the host cannot ask for a resource of its own types above 32767.
constexpr std::int64_t LastHostResourceNumber = 32767;

const std::vector<ResourceKind>& AllKinds() {
    static const std::vector<ResourceKind> kinds = {
        ResourceKind{
            ResFormat::StringListTypeName,
            ResFormat::ResName::NamedUpperCase(ResFormat::StringListTypeName),
            ResFormat::MemoryMoveable | ResFormat::MemoryPure,
            1,
            LastHostResourceNumber,
            "the host asks for string lists by signed 16-bit numbers",
            {RecordShape{"text", {FieldShape{"text", FieldType::Text8}}}},
            1,
            PayloadLayout::HostFramed,
        },
    };
    return kinds;
}

bool EqualIgnoringCase(std::string_view left, std::string_view right) {
    const auto upper = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; };
    if (left.size() != right.size()) {
        return false;
    }
    for (std::size_t i = 0; i < left.size(); ++i) {
        if (upper(left[i]) != upper(right[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

const ResourceKind* FindResourceKind(std::string_view word) {
    for (const ResourceKind& kind : AllKinds()) {
        if (EqualIgnoringCase(kind.word, word)) {
            return &kind;
        }
    }
    return nullptr;
}

std::string ListResourceKinds() {
    std::string list;
    for (const ResourceKind& kind : AllKinds()) {
        list += (list.empty() ? "" : ", ") + std::string(kind.word);
    }
    return list;
}

} // namespace ResConv
