#pragma once

#include <nlohmann/json.hpp>

#include <filesystem>
#include <string>
#include <vector>

// The add-on module the runs load: this build's, or the one VELD_BENCH_ADDON names (another build of
// it, to time two builds side by side with the same host).
std::string AddOnModulePath();

// One hostsim data folder for a benchmark: VELD Engineer installed and registered, special folder 7 at
// an export folder of its own, the demo building as the open project's model. Removed at the end.
class HostSimRuns {
public:
    HostSimRuns();
    ~HostSimRuns();
    HostSimRuns(const HostSimRuns&) = delete;
    HostSimRuns& operator=(const HostSimRuns&) = delete;

    // The lines of `hostsim --timings` for one run of `script` with the add-on (AddOnModulePath) and
    // `options` added, and no transcript: the host records nothing, as a real host does. A run that does not
    // exit with 0 throws: a benchmark of a broken run measures nothing.
    std::vector<nlohmann::json> Timings(const std::string& script,
                                        const std::vector<std::string>& options = {}) const;

    // Seconds of the start-up floor (ModuleFloor.hpp) in a fresh process of its own, reading this
    // data folder's registry.
    double ColdModuleFloor() const;

    // Waits until the registry's store files are old enough for their stamps to be trusted, so that
    // the timed runs read them as a data folder written long ago is read (GS::StoreFile::IsSettled).
    void LetTheStoreSettle() const;

    // The SAF add-on's translator store with `count` translators ("Translator 1", ...).
    void WriteTranslators(std::size_t count) const;

    const std::filesystem::path& Root() const { return root; }
    const std::filesystem::path& Home() const { return home; }
    std::filesystem::path Project() const { return root / "project.json"; }

private:
    std::filesystem::path root;
    std::filesystem::path home;
    std::filesystem::path exportFolder;
};

// Script lines choosing translator `entry` (1-based, after the placeholder) in the add-on's export
// settings dialog, then OK.
std::string ChooseTranslatorLines(int entry);

// The one line of `kind` (and, for "menu", of menu item `item`) among `lines`; throws when there is
// not exactly one.
nlohmann::json TimingLine(const std::vector<nlohmann::json>& lines, const std::string& kind, int item = 0);

// A field of a timing line, in seconds.
double Seconds(const nlohmann::json& line, const char* field);
