#include "SweptCall.hpp"

#include <cstdint>
#include <iterator>
#include <map>
#include <set>

namespace Sweep {

std::vector<std::string> SweptCall::FailOptions() const {
    if (kind == Kind::SafAnswer) {
        return {"--saf-fail", operation + "=" + failure};
    }
    return {"--fail", operation + "=" + failure + "@" + std::to_string(ordinal)};
}

std::string SweptCall::Label() const {
    std::string label = kind == Kind::SafAnswer ? "SAF answers " + operation : operation;
    if (kind != Kind::SafAnswer) {
        label += " #" + std::to_string(ordinal);
    }
    if (!detail.empty()) {
        label += " (" + detail.substr(0, 48) + ")";
    }
    if (failure == "throw") {
        label += " throws";
    }
    return label;
}

std::vector<SweptCall> CallsToSweep(const HostSimRun& run, const std::string& module,
                                    const std::string& failureCode) {
    std::vector<SweptCall> calls;
    std::map<std::string, unsigned> hostCounts;
    // Library calls are written when their result comes, so a call made inside another one may be
    // written first; hostsim numbers them in call order, and so do we.
    std::map<std::string, std::set<std::uint64_t>> librarySequences;
    for (const Json& event : run.EventsWhere("library-call", "module", module)) {
        librarySequences[event.at("op")].insert(event.at("sequence").get<std::uint64_t>());
    }
    std::vector<std::string> safCommands;
    bool started = false;
    for (const Json& event : run.events) {
        const std::string name = event.value("event", "");
        if (name == "entry" && event.value("name", "") == "start") {
            started = true;
        }
        if (event.value("module", "") != module) {
            continue;
        }
        SweptCall call;
        call.duringCommand = started;
        call.failure = failureCode;
        if (name == "host-call") {
            call.kind = SweptCall::Kind::Host;
            call.operation = event.at("op");
            call.ordinal = ++hostCounts[call.operation];
            if (event.contains("arguments") && event["arguments"].is_object() &&
                event["arguments"].contains("command")) {
                call.detail = event["arguments"]["command"].get<std::string>();
            }
        } else if (name == "library-call") {
            call.kind = SweptCall::Kind::Library;
            call.operation = event.at("op");
            const std::set<std::uint64_t>& sequences = librarySequences[call.operation];
            call.ordinal = static_cast<unsigned>(
                std::distance(sequences.begin(), sequences.find(event.at("sequence").get<std::uint64_t>())) +
                1);
            call.detail = event.value("details", "");
        } else {
            if (name == "command-call") {
                safCommands.push_back(event.at("command"));
            }
            continue;
        }
        calls.push_back(call);
    }
    std::set<std::string> refused;
    for (const std::string& command : safCommands) {
        if (refused.insert(command).second) {
            SweptCall call;
            call.kind = SweptCall::Kind::SafAnswer;
            call.operation = command;
            call.duringCommand = true;
            call.failure = failureCode;
            calls.push_back(call);
        }
    }
    for (const SweptCall& call : std::vector<SweptCall>(calls)) {
        if (call.operation == "IO::Process::ApplicationLauncher::Launch") {
            SweptCall throwing = call;
            throwing.failure = "throw";
            calls.push_back(throwing);
        }
    }
    return calls;
}

std::vector<Json> InjectedFaults(const HostSimRun& run) {
    std::vector<Json> injected;
    for (const Json& event : run.events) {
        if (event.contains("injected") && !event["injected"].is_null() && event["injected"] != false) {
            injected.push_back(event);
        }
    }
    return injected;
}

} // namespace Sweep
