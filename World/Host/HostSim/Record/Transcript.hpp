#pragma once

#include <nlohmann/json.hpp>

#include <fstream>
#include <memory>
#include <string>
#include <string_view>

namespace HostSim {

// Fields keep the order they were added in, so that every line starts with "event".
using Json = nlohmann::ordered_json;

// The record of a run that scenario tests read: one JSON object per line, "event" first. Each line
// is flushed as it is written, so a run that dies still leaves everything before its end.
class Transcript {
public:
    Transcript() = default; // records nothing
    explicit Transcript(const std::string& utf8Path);

    bool IsOpen() const { return file != nullptr && file->is_open(); }
    // `fields` is an object; its members follow "event" in their order.
    void Write(std::string_view event, const Json& fields = Json::object());

    // One line as Write writes it, without the line break.
    static std::string Format(std::string_view event, const Json& fields);

private:
    std::unique_ptr<std::ofstream> file;
};

} // namespace HostSim
