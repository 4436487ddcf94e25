#include "Services/FaultPlan.hpp"

#include "Services/ResultCode.hpp"

#include <utility>

namespace HostSim {

Result<FailRule> ParseFailRule(std::string_view text) {
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos || equals == 0) {
        return Failure{"expected OP=CODE or OP=CODE@N, got \"" + std::string(text) + "\""};
    }
    FailRule rule;
    rule.operation = std::string(text.substr(0, equals));
    std::string_view codeText = text.substr(equals + 1);
    const std::size_t at = codeText.find('@');
    if (at != std::string_view::npos) {
        std::optional<UInt64> nth = ParseUnsigned(codeText.substr(at + 1), UINT64_MAX);
        if (!nth || *nth == 0) {
            return Failure{"call number after '@' must be 1 or more in \"" + std::string(text) + "\""};
        }
        rule.onlyCall = nth;
        codeText = codeText.substr(0, at);
    }
    std::optional<GSErrCode> code = ParseResultCode(codeText);
    if (!code) {
        return Failure{"\"" + std::string(codeText) + "\" is not a result code (decimal or 0x hex)"};
    }
    rule.code = *code;
    return rule;
}

void FaultPlan::Add(FailRule rule) {
    rules.push_back(std::move(rule));
}

std::optional<GSErrCode> FaultPlan::OnCall(const std::string& operation) {
    const UInt64 callNumber = ++callCounts[operation];
    for (const FailRule& rule : rules) {
        if (rule.operation == operation && (!rule.onlyCall || *rule.onlyCall == callNumber)) {
            return rule.code;
        }
    }
    return std::nullopt;
}

UInt64 FaultPlan::CallCount(const std::string& operation) const {
    auto found = callCounts.find(operation);
    return found == callCounts.end() ? 0 : found->second;
}

} // namespace HostSim
