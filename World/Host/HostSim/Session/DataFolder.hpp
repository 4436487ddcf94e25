#pragma once

#include "GSPref.hpp"
#include "GSTypes.hpp"
#include "Result/Result.hpp"

#include <filesystem>

#include <map>
#include <string>

namespace HostSim {

// The host's data folder (--home): the registry files live in DIR/Registry, exports go to DIR/Export
// unless told otherwise. Both are made when missing.

// Makes DIR and DIR/Registry and points the registry there, or says why it cannot.
Result<> PrepareRegistryFolder(const std::string& home);

// The file of a hive in DIR/Registry, as the registry store names it on POSIX (Windows keeps its
// hives in the system's registry, and no such file is ever made there).
std::filesystem::path HiveFileOf(const std::string& home, GSPref::RootKeyDomain domain);

// The host's special folders: number 7 is the export folder, DIR/Export (made when missing) unless
// `given` names it; everything in `given` is used as it is, existing or not.
std::map<Int32, std::string>
PrepareSpecialFolders(const std::string& home, const std::map<Int32, std::string>& given, std::string& error);

constexpr Int32 ExportFolderNumber = 7;

} // namespace HostSim
