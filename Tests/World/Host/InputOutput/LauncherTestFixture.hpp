#pragma once

#include "ApplicationLauncher.hpp"
#include "HostTestSupport.hpp"
#include "ProbeProcess.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

// The launcher tests start the probe program (LaunchProbeRecord.hpp) and read back what it received.
namespace LauncherTest {

// std::filesystem speaks the system code page on Windows; the host speaks UTF-8.
inline std::string Utf8Of(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

inline std::filesystem::path PathFromUtf8(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

inline IO::Location LocationOf(const std::filesystem::path& path) {
    return IO::Location(GS::UniString(Utf8Of(path).c_str(), CC_UTF8));
}

inline GS::Array<GS::UniString> ArgumentsOf(const std::vector<std::string>& texts) {
    GS::Array<GS::UniString> arguments;
    for (const std::string& text : texts) {
        arguments.Push(GS::UniString(text.c_str(), CC_UTF8));
    }
    return arguments;
}

inline GSErrCode Launch(const std::filesystem::path& executable, const std::vector<std::string>& arguments) {
    return IO::Process::ApplicationLauncher::Instance().Launch(LocationOf(executable), ArgumentsOf(arguments),
                                                               IO::Process::LaunchMode::SeparateProcess,
                                                               IO::Process::LaunchOption::DoNotWait);
}

// Polls for something the started probe does; gives up after a generous bound so that a broken
// launcher fails the test instead of hanging it.
template <typename Condition>
bool Eventually(Condition condition) {
    for (int i = 0; i < 3000; ++i) {
        if (condition()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return condition();
}

// What the probe wrote: its process id and the arguments it received.
struct ProbeRecord {
    unsigned long processId = 0;
    std::vector<std::string> arguments;
};

inline ProbeRecord ReadRecord(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ProbeRecord record;
    const std::size_t lineEnd = bytes.find('\n');
    record.processId = std::stoul(bytes.substr(0, lineEnd));
    std::size_t start = lineEnd + 1;
    for (std::size_t end = bytes.find('\0', start); end != std::string::npos; end = bytes.find('\0', start)) {
        record.arguments.push_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    return record;
}

// Each test gets its own record and hold files, named to the probe through the environment it inherits.
class Fixture : public ::testing::Test {
protected:
    void SetUp() override {
        ProbeProcess::SetEnvironment("LAUNCH_PROBE_RECORD", Utf8Of(RecordFile()));
        ProbeProcess::UnsetEnvironment("LAUNCH_PROBE_HOLD");
    }
    void TearDown() override {
        std::ofstream(HoldFile()) << "released";
        ProbeProcess::UnsetEnvironment("LAUNCH_PROBE_RECORD");
        ProbeProcess::UnsetEnvironment("LAUNCH_PROBE_HOLD");
    }

    std::filesystem::path RecordFile() const { return temp.Path() / "record"; }
    std::filesystem::path HoldFile() const { return temp.Path() / "hold"; }
    static std::filesystem::path Probe() { return ProbeProcess::ProbeProgram(); }

    ProbeRecord AwaitRecord() const {
        EXPECT_TRUE(Eventually([this] { return std::filesystem::exists(RecordFile()); }))
            << "the probe never ran";
        return std::filesystem::exists(RecordFile()) ? ReadRecord(RecordFile()) : ProbeRecord{};
    }

    HostTestSupport::TempFolder temp;
};

} // namespace LauncherTest
