#pragma once

#include "Record/Transcript.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

// A transcript in a temporary file that a test can read back event by event.
class TranscriptFile {
public:
    TranscriptFile()
        : path(std::filesystem::temp_directory_path() /
               ("hostsim-unit-" + std::to_string(std::random_device()()) + ".jsonl")),
          transcript(std::make_unique<HostSim::Transcript>(path.string())) {}
    // The transcript closes its file first: Windows removes no file that is still open.
    ~TranscriptFile() {
        transcript.reset();
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
    }

    HostSim::Transcript& Get() { return *transcript; }

    std::vector<HostSim::Json> Events(const std::string& name = {}) const {
        std::vector<HostSim::Json> events;
        std::ifstream file(path);
        for (std::string line; std::getline(file, line);) {
            HostSim::Json event = HostSim::Json::parse(line);
            if (name.empty() || event["event"] == name) {
                events.push_back(std::move(event));
            }
        }
        return events;
    }

private:
    std::filesystem::path path;
    std::unique_ptr<HostSim::Transcript> transcript;
};
