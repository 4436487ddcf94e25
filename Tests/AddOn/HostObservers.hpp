#pragma once

#include "CallMonitor.hpp"
#include "DebugOutput.hpp"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Watches the host libraries' calls for as long as it lives, letting every call go on.
class HostLibraryCalls : public GS::CallMonitor {
public:
    struct Entry {
        std::string operation;
        std::string details;
    };

    HostLibraryCalls() { GS::SetCallMonitor(this); }
    ~HostLibraryCalls() override { GS::SetCallMonitor(nullptr); }
    HostLibraryCalls(const HostLibraryCalls&) = delete;
    HostLibraryCalls& operator=(const HostLibraryCalls&) = delete;

    GSErrCode OnCall(const char* operation, const char* details) override {
        entries.push_back({operation, details != nullptr ? details : ""});
        return NoError;
    }

    std::size_t Count(std::string_view operation) const {
        std::size_t count = 0;
        for (const Entry& entry : entries) {
            if (entry.operation == operation) {
                ++count;
            }
        }
        return count;
    }

    std::vector<std::string> DetailsOf(std::string_view operation) const {
        std::vector<std::string> details;
        for (const Entry& entry : entries) {
            if (entry.operation == operation) {
                details.push_back(entry.details);
            }
        }
        return details;
    }

private:
    std::vector<Entry> entries;
};

// Collects the host's debug output for as long as it lives, one piece per DBPrintf call.
class DebugOutputCapture {
public:
    DebugOutputCapture() { GS::SetDebugSink(&Append, this); }
    ~DebugOutputCapture() { GS::SetDebugSink(nullptr, nullptr); }
    DebugOutputCapture(const DebugOutputCapture&) = delete;
    DebugOutputCapture& operator=(const DebugOutputCapture&) = delete;

    const std::vector<std::string>& Pieces() const { return pieces; }

private:
    static void Append(const char* utf8Text, void* context) {
        static_cast<DebugOutputCapture*>(context)->pieces.emplace_back(utf8Text);
    }

    std::vector<std::string> pieces;
};
