#pragma once

#include "Result/Result.hpp"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace HostSim {

// Dialog user data (DGRetrieveUserDataFromRegistry's records) set up by the host before a run:
//   hostsim user-data --home DIR set NAME HEXBYTES     (get NAME prints a record)
//   hostsim --user-data NAME=HEXBYTES ...          (repeatable; stored before any add-on loads)
// HEXBYTES are the record's bytes in order, two hex digits each ("2800" is the 16-bit value 40).

// The bytes of an even-length hex text, or nothing.
std::optional<std::vector<unsigned char>> ParseHexBytes(const std::string& text);

// Where alerts and dialogs are shown: as text (the terminal, or a script's answers), or, on Windows, as
// windows. Windows uses windows unless told `--face text`.
enum class ScreenFace { Text, Windows };

// What hostsim's own options leave for the host session, with the screen options taken out:
// `--user-data NAME=HEX`, `--snapshots DIR` and `--face text|windows`.
struct ScreenOptions {
    std::map<std::string, std::vector<unsigned char>> userData;
    std::optional<std::string> snapshots;
#if defined(_WIN32)
    ScreenFace face = ScreenFace::Windows;
#else
    ScreenFace face = ScreenFace::Text;
#endif
};
struct ScreenOptionsParse {
    ScreenOptions options;
    std::vector<std::string> rest;
    std::string error;
};
ScreenOptionsParse TakeScreenOptions(const std::vector<std::string>& arguments);

// Stores every record in the registry that the data folder's store points to, or says which failed.
Result<> StoreUserData(const std::map<std::string, std::vector<unsigned char>>& records);

// `arguments` after "user-data". Returns the process exit code.
int RunUserDataCommand(const std::vector<std::string>& arguments);

} // namespace HostSim
