#include "Services/TableOperation.hpp"

#include "HostFunctionTable.hpp"

namespace HostSim {

const std::array<TableOperationInfo, TableOperationCount>& AllTableOperations() {
    static const std::array<TableOperationInfo, TableOperationCount> operations{{
        {TableOperation::MenuRegister, "HostMenuRegister", HostSlot::MenuRegister},
        {TableOperation::MenuHandlerInstall, "HostMenuHandlerInstall", HostSlot::MenuHandlerInstall},
        {TableOperation::Environment, "HostEnvironment", HostSlot::Environment},
        {TableOperation::Automate, "HostAutomate", HostSlot::Automate},
        {TableOperation::CommandCall, "HostCommandCall", HostSlot::CommandCall},
        {TableOperation::ObjectCreate, "HostObjectCreate", HostSlot::ObjectCreate},
        {TableOperation::ObjectRead, "HostObjectRead", HostSlot::ObjectRead},
        {TableOperation::ObjectModify, "HostObjectModify", HostSlot::ObjectModify},
        {TableOperation::ObjectFind, "HostObjectFind", HostSlot::ObjectFind},
    }};
    return operations;
}

const TableOperationInfo& InfoOf(TableOperation operation) {
    return AllTableOperations()[static_cast<std::size_t>(operation)];
}

std::optional<TableOperation> TableOperationFromName(std::string_view name) {
    constexpr std::string_view prefix = "Host";
    for (const TableOperationInfo& info : AllTableOperations()) {
        if (name == info.name || name == info.name.substr(prefix.size())) {
            return info.operation;
        }
    }
    return std::nullopt;
}

} // namespace HostSim
