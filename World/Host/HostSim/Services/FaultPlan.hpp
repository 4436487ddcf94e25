#pragma once

#include "GSTypes.hpp"
#include "Result/Result.hpp"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace HostSim {

// One `--fail OP=CODE[@N]` rule: operation OP answers CODE, on every call or only on its N-th.
struct FailRule {
    std::string operation;
    GSErrCode code = 0;
    std::optional<UInt64> onlyCall; // counted from 1
};

// Parses "OP=CODE" or "OP=CODE@N"; says what is wrong with any other form.
Result<FailRule> ParseFailRule(std::string_view text);

// Decides, call by call, which operations fail. Every operation name is counted separately, so
// "fail the 3rd call of X" means the 3rd call of X whatever else ran in between.
class FaultPlan {
public:
    void Add(FailRule rule);
    bool IsEmpty() const { return rules.empty(); }

    // Counts one call of `operation`; the code it must answer, or nothing when it runs normally.
    std::optional<GSErrCode> OnCall(const std::string& operation);
    UInt64 CallCount(const std::string& operation) const;

private:
    std::vector<FailRule> rules;
    std::map<std::string, UInt64> callCounts;
};

} // namespace HostSim
