#include "Tools/UserDataTool.hpp"
#include "HexDigits.hpp"

#include "DGUserData.hpp"
#include "GSPref.hpp"
#include "ProgramCommandLine.hpp"
#include "Record/ReadableText.hpp"
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

Result<> StoreUserData(const std::map<std::string, std::vector<unsigned char>>& records) {
    for (const auto& [name, bytes] : records) {
        const GS::UniString uniName = GS::UniString::FromUTF8(name.c_str(), static_cast<UIndex>(name.size()));
        if (DGStoreUserDataToRegistry(uniName, bytes.data(), static_cast<GSSize>(bytes.size())) != NoError) {
            return Failure{"cannot store the user data \"" + name + "\""};
        }
    }
    return {};
}

namespace {

constexpr CommandLine::ProgramText UserDataProgram{
    "hostsim user-data",
    "usage: hostsim user-data [--home DIR] set NAME HEXBYTES\n"
    "       hostsim user-data [--home DIR] get NAME\n"
    "The dialogs' user data records (a dialog's size, say) in a data folder's registry (DIR/Registry;\n"
    "default ./HostSimHome): set stores the record NAME, get prints its bytes in hex.\n"
    "HEXBYTES: the record's bytes in order, two hex digits each (\"2800\" is the 16-bit value 40).\n"
    "options: --home DIR, -h/--help, --version\n"
    "exit codes: 0 done, 1 the record cannot be stored or none is stored, 64 a wrong command line\n"};

int PrintRecord(const std::string& name) {
    std::vector<unsigned char> bytes(static_cast<std::size_t>(DG::LargestUserDataRecord));
    GSSize size = 0;
    const GSErrCode read =
        GSPref::ReadBinaryValue(GSPref::RootKeyDomain::CurrentUser, DG::UserDataKey, name.c_str(),
                                bytes.data(), DG::LargestUserDataRecord, &size);
    if (read != NoError) {
        std::cerr << "hostsim user-data: no record \"" << name << "\" (" << DescribeResultCode(read) << ")"
                  << std::endl;
        return 1;
    }
    std::cout << HexOf(bytes.data(), static_cast<std::size_t>(size)) << std::endl;
    return ExitCode::Success;
}

} // namespace

int RunUserDataCommand(const std::vector<std::string>& arguments) {
    if (const auto request = CommandLine::StandardRequest(arguments); request != CommandLine::Request::Run) {
        return CommandLine::Answer(request, UserDataProgram, std::cout);
    }
    std::string home = "HostSimHome";
    std::vector<std::string> words;
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        if (arguments[index] != "--home") {
            words.push_back(arguments[index]);
        } else if (index + 1 == arguments.size()) {
            return CommandLine::Refuse(UserDataProgram, "--home needs a folder", std::cerr);
        } else {
            home = arguments[++index];
        }
    }
    std::optional<std::vector<unsigned char>> bytes;
    if (words.empty()) {
        return CommandLine::Refuse(UserDataProgram, "expected set or get", std::cerr);
    } else if (words[0] == "set" && words.size() == 3) {
        bytes = ParseHexBytes(words[2]);
        if (!bytes) {
            return CommandLine::Refuse(UserDataProgram,
                                       "\"" + words[2] + "\" is not an even number of hex digits", std::cerr);
        }
    } else if (words[0] == "set" || (words[0] == "get" && words.size() != 2)) {
        return CommandLine::Refuse(UserDataProgram,
                                   words[0] + (words[0] == "set" ? " takes NAME HEXBYTES" : " takes NAME"),
                                   std::cerr);
    } else if (words[0] != "get") {
        return CommandLine::Refuse(UserDataProgram, "unknown action \"" + words[0] + "\"", std::cerr);
    }
    Result<> done = PrepareRegistryFolder(home);
    if (done && !bytes) {
        return PrintRecord(words[1]);
    }
    if (done) {
        done = StoreUserData({{words[1], *bytes}});
    }
    if (!done) {
        std::cerr << "hostsim user-data: " << done.Error() << std::endl;
        return 1;
    }
    return ExitCode::Success;
}

} // namespace HostSim
