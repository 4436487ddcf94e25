#include "ResourceKinds.hpp"

namespace ResConv {

namespace {

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
    for (const auto* table : {&HostResourceKinds(), &WindowsResourceKinds()}) {
        for (const ResourceKind& kind : *table) {
            if (EqualIgnoringCase(kind.word, word)) {
                return &kind;
            }
        }
    }
    return nullptr;
}

std::string ListResourceKinds() {
    std::string list;
    for (const auto* table : {&HostResourceKinds(), &WindowsResourceKinds()}) {
        for (const ResourceKind& kind : *table) {
            list += (list.empty() ? "" : ", ") + std::string(kind.word);
        }
    }
    return list;
}

} // namespace ResConv
