#include "Tools/UserDataTool.hpp"
#include "HexDigits.hpp"

#include "DGUserData.hpp"
#include "Session/DataFolder.hpp"
#include "Session/HostSimRun.hpp"

#include <iostream>

namespace HostSim {

namespace {

// "NAME=HEX" into the records; empty or the error.
std::string AddRecord(const std::string& text, std::map<std::string, std::vector<unsigned char>>& records) {
    const std::size_t equals = text.find('=');
    std::optional<std::vector<unsigned char>> bytes =
        equals == std::string::npos ? std::nullopt : ParseHexBytes(text.substr(equals + 1));
    if (equals == 0 || !bytes) {
        return "--user-data: expected NAME=HEXBYTES, got \"" + text + "\"";
    }
    records[text.substr(0, equals)] = std::move(*bytes);
    return {};
}

std::string ParseFace(const std::string& value, ScreenFace& face) {
    if (value == "text") {
        face = ScreenFace::Text;
        return {};
    }
#if defined(_WIN32)
    if (value == "windows") {
        face = ScreenFace::Windows;
        return {};
    }
    return "--face: expected text or windows, got \"" + value + "\"";
#else
    return value == "windows" ? "--face windows: windows are drawn by the Windows build only"
                              : "--face: expected text or windows, got \"" + value + "\"";
#endif
}

} // namespace

std::optional<std::vector<unsigned char>> ParseHexBytes(const std::string& text) {
    if (text.empty() || text.size() % 2 != 0) {
        return std::nullopt;
    }
    std::vector<unsigned char> bytes;
    for (std::size_t index = 0; index < text.size(); index += 2) {
        const int high = GS::HexDigitValue(text[index]);
        const int low = GS::HexDigitValue(text[index + 1]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        bytes.push_back(static_cast<unsigned char>(high * 16 + low));
    }
    return bytes;
}

ScreenOptionsParse TakeScreenOptions(const std::vector<std::string>& arguments) {
    ScreenOptionsParse parsed;
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        if (argument != "--user-data" && argument != "--snapshots" && argument != "--face") {
            parsed.rest.push_back(argument);
            continue;
        }
        if (index + 1 >= arguments.size()) {
            parsed.error = argument + " needs a value";
            return parsed;
        }
        const std::string& value = arguments[++index];
        if (argument == "--snapshots") {
            parsed.options.snapshots = value;
        } else if (argument == "--face") {
            if (std::string error = ParseFace(value, parsed.options.face); !error.empty()) {
                parsed.error = error;
                return parsed;
            }
        } else if (std::string error = AddRecord(value, parsed.options.userData); !error.empty()) {
            parsed.error = error;
            return parsed;
        }
    }
    return parsed;
}

std::string StoreUserData(const std::map<std::string, std::vector<unsigned char>>& records) {
    for (const auto& [name, bytes] : records) {
        const GS::UniString uniName = GS::UniString::FromUTF8(name.c_str(), static_cast<UIndex>(name.size()));
        if (DGStoreUserDataToRegistry(uniName, bytes.data(), static_cast<GSSize>(bytes.size())) != NoError) {
            return "cannot store the user data \"" + name + "\"";
        }
    }
    return {};
}

int RunUserDataCommand(const std::vector<std::string>& arguments) {
    const bool wellFormed = arguments.size() == 5 && arguments[0] == "--home" && arguments[2] == "set";
    std::optional<std::vector<unsigned char>> bytes = wellFormed ? ParseHexBytes(arguments[4]) : std::nullopt;
    if (!bytes) {
        std::cerr << "hostsim: usage: hostsim user-data --home DIR set NAME HEXBYTES" << std::endl;
        return ExitCode::Usage;
    }
    std::string error;
    if (!PrepareRegistryFolder(arguments[1], error)) {
        std::cerr << "hostsim: " << error << std::endl;
        return ExitCode::Usage;
    }
    error = StoreUserData({{arguments[3], *bytes}});
    if (!error.empty()) {
        std::cerr << "hostsim: " << error << std::endl;
        return 1;
    }
    return ExitCode::Success;
}

} // namespace HostSim
