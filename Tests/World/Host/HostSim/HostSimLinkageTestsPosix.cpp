// How hostsim and the host libraries are linked, read from their ELF dynamic sections: the host has
// every one of its libraries loaded before any add-on (so no add-on brings one in and takes it away
// again at unload, with its process-wide state), and every import is bound at load, as a Windows
// loader binds a DLL's, so that an add-on's first call into the host finds nothing left to look up.

#include "ElfFile.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::filesystem::path> HostLibraries() {
    std::vector<std::filesystem::path> libraries;
    std::stringstream list(HOST_LIBRARY_PATHS);
    for (std::string path; std::getline(list, path, '|');) {
        libraries.emplace_back(path);
    }
    return libraries;
}

TEST(HostSimLinkage, HostSimHasEveryHostLibraryLoadedBeforeAnyAddOn) {
    const DynamicLinkage hostsim = ReadDynamicLinkage(HOSTSIM_PATH);
    const std::vector<std::filesystem::path> libraries = HostLibraries();
    ASSERT_GE(libraries.size(), 8u);
    for (const std::filesystem::path& library : libraries) {
        EXPECT_NE(std::find(hostsim.needed.begin(), hostsim.needed.end(), library.filename().string()),
                  hostsim.needed.end())
            << library.filename() << " would be loaded with the first add-on that uses it";
    }
}

TEST(HostSimLinkage, HostSimAndTheHostLibrariesBindEveryImportAtLoad) {
    EXPECT_TRUE(ReadDynamicLinkage(HOSTSIM_PATH).bindNow) << "hostsim";
    for (const std::filesystem::path& library : HostLibraries()) {
        EXPECT_TRUE(ReadDynamicLinkage(library).bindNow) << library.filename();
    }
}

} // namespace
