#include "Win32Compat.hpp"

#include "CaseFolding.hpp"

#include <mutex>
#include <string>
#include <vector>

namespace {

// Registered message numbers run from 0xC000 to 0xFFFF, as on Windows.
constexpr UINT FirstMessage = 0xC000;
constexpr std::size_t MessageCapacity = 0x4000;

struct MessageTable {
    std::mutex mutex;
    std::vector<std::u16string> names; // message FirstMessage + i is names[i]
};

MessageTable& GetTable() {
    static MessageTable* table = new MessageTable;
    return *table;
}

bool SameName(const std::u16string& left, const std::u16string& right) {
    return GS::CaseFolding::CompareFolded(left.data(), left.size(), right.data(), right.size()) == 0;
}

} // namespace

extern "C" UINT RegisterWindowMessageW(LPCWSTR name) {
    if (name == nullptr || name[0] == u'\0') {
        return 0;
    }
    const std::u16string wanted(name);
    MessageTable& table = GetTable();
    std::lock_guard lock(table.mutex);
    for (std::size_t i = 0; i < table.names.size(); ++i) {
        if (SameName(table.names[i], wanted)) {
            return FirstMessage + static_cast<UINT>(i);
        }
    }
    if (table.names.size() >= MessageCapacity) {
        return 0;
    }
    table.names.push_back(wanted);
    return FirstMessage + static_cast<UINT>(table.names.size() - 1);
}
