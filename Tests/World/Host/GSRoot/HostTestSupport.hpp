#pragma once

#include "CallMonitor.hpp"
#include "DebugOutput.hpp"
#include "Guid.hpp"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

// What the host library tests share: a fresh folder per test, a monitor that records and fails
// calls on request, and a sink that keeps the debug output.
namespace HostTestSupport {

class TempFolder {
public:
    TempFolder() {
        const GS::UniString::CStr name = GS::Guid::Generate().ToUniString().ToUTF8();
        path = std::filesystem::temp_directory_path() / ("hosttest-" + std::string(name.Get()));
        std::filesystem::create_directories(path);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::permissions(path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path; }
    std::string Utf8() const { return path.string(); }
    std::string FilePath(const std::string& name) const { return (path / name).string(); }

    void WriteFile(const std::string& name, const std::string& bytes) const {
        std::ofstream out(path / name, std::ios::binary | std::ios::trunc);
        out << bytes;
    }
    std::string ReadFile(const std::string& name) const {
        std::ifstream in(path / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::vector<std::string> FileNames() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path)) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

private:
    std::filesystem::path path;
};

struct RecordedCall {
    std::string operation;
    std::string details;
};

// Installed for its lifetime. Fails every call of the operations in `failures` with their code.
class RecordingMonitor : public GS::CallMonitor {
public:
    RecordingMonitor() { GS::SetCallMonitor(this); }
    ~RecordingMonitor() override { GS::SetCallMonitor(nullptr); }
    RecordingMonitor(const RecordingMonitor&) = delete;
    RecordingMonitor& operator=(const RecordingMonitor&) = delete;

    GSErrCode OnCall(const char* operation, const char* details) override {
        calls.push_back({operation, details});
        const auto failure = failures.find(operation);
        return failure != failures.end() ? failure->second : NoError;
    }
    void OnResult(const char* operation, const char* result) override {
        results.push_back({operation, result});
    }

    std::vector<RecordedCall> CallsOf(const std::string& operation) const {
        std::vector<RecordedCall> found;
        for (const RecordedCall& call : calls) {
            if (call.operation == operation) {
                found.push_back(call);
            }
        }
        return found;
    }

    std::map<std::string, GSErrCode> failures;
    std::vector<RecordedCall> calls;
    std::vector<RecordedCall> results;
};

// Installed for its lifetime; each DBPrintf call is one entry.
class DebugCapture {
public:
    DebugCapture() { GS::SetDebugSink(&DebugCapture::Receive, this); }
    ~DebugCapture() { GS::SetDebugSink(nullptr, nullptr); }
    DebugCapture(const DebugCapture&) = delete;
    DebugCapture& operator=(const DebugCapture&) = delete;

    std::vector<std::string> texts;

private:
    static void Receive(const char* text, void* context) {
        static_cast<DebugCapture*>(context)->texts.push_back(text);
    }
};

} // namespace HostTestSupport
