#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace HostSim {

// The nine operations hostsim offers in its function table.
enum class TableOperation {
    MenuRegister,
    MenuHandlerInstall,
    Environment,
    Automate,
    CommandCall,
    ObjectCreate,
    ObjectRead,
    ObjectModify,
    ObjectFind
};

constexpr std::size_t TableOperationCount = 9;

struct TableOperationInfo {
    TableOperation operation;
    std::string_view name;  // "HostMenuRegister": how the transcript and --fail name it
    std::size_t slotOffset; // byte offset in the function table
};

const std::array<TableOperationInfo, TableOperationCount>& AllTableOperations();
const TableOperationInfo& InfoOf(TableOperation operation);

// Accepts the short form used on the command line ("MenuRegister") and the full name
// ("HostMenuRegister").
std::optional<TableOperation> TableOperationFromName(std::string_view name);

} // namespace HostSim
