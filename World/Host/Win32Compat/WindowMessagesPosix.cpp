#include "Win32Compat.hpp"

#include "CaseFolding.hpp"

#include <mutex>
#include <string>
#include <unordered_map>

namespace {

// Registered message numbers run from 0xC000 to 0xFFFF, as on Windows.
constexpr UINT FirstMessage = 0xC000;
constexpr std::size_t MessageCapacity = 0x4000;

// Keyed by the folded name, so that names differing only in case share their number.
struct MessageTable {
    std::mutex mutex;
    std::unordered_map<std::u16string, UINT> numbers;
};

MessageTable& GetTable() {
    static MessageTable* table = new MessageTable;
    return *table;
}

std::u16string Folded(LPCWSTR name) {
    std::u16string folded;
    for (; *name != u'\0'; ++name) {
        folded += GS::CaseFolding::Fold(*name);
    }
    return folded;
}

} // namespace

extern "C" UINT RegisterWindowMessageW(LPCWSTR name) {
    if (name == nullptr || name[0] == u'\0') {
        return 0;
    }
    std::u16string key = Folded(name);
    MessageTable& table = GetTable();
    std::lock_guard lock(table.mutex);
    const auto found = table.numbers.find(key);
    if (found != table.numbers.end()) {
        return found->second;
    }
    if (table.numbers.size() >= MessageCapacity) {
        return 0;
    }
    const UINT message = FirstMessage + static_cast<UINT>(table.numbers.size());
    table.numbers.emplace(std::move(key), message);
    return message;
}
