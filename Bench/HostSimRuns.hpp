#pragma once

#include <filesystem>
#include <string>
#include <vector>

// One hostsim data folder for a benchmark: VELD Engineer installed and registered, special folder 7 at
// an export folder of its own, the demo building as the open project's model. Removed at the end.
class HostSimRuns {
public:
    HostSimRuns();
    ~HostSimRuns();
    HostSimRuns(const HostSimRuns&) = delete;
    HostSimRuns& operator=(const HostSimRuns&) = delete;

    // Wall seconds of one hostsim run of `script` with the add-on loaded and `options` added. A run
    // that does not exit with 0 throws: a benchmark of a broken run measures nothing.
    double Run(const std::string& script, const std::vector<std::string>& options = {}) const;
    // The same with no module loaded: what hostsim costs on its own.
    double RunWithoutAddOn(const std::string& script) const;

    // The SAF add-on's translator store with `count` translators ("Translator 1", ...).
    void WriteTranslators(std::size_t count) const;

    // Drops what a run left (stored settings, the workbook) so the next run starts as the first did.
    void ForgetProject() const;

    const std::filesystem::path& Root() const { return root; }
    const std::filesystem::path& Home() const { return home; }
    std::filesystem::path Project() const { return root / "project.json"; }

    // The hostsim command line of Run, for tools that run it themselves (callgrind).
    std::vector<std::string> Command(const std::string& script, const std::vector<std::string>& options,
                                     bool withAddOn = true) const;

private:
    static double Time(const std::vector<std::string>& command, const std::filesystem::path& scratch);

    std::filesystem::path root;
    std::filesystem::path home;
    std::filesystem::path exportFolder;
};

// Script lines choosing translator `entry` (1-based, after the placeholder) in the add-on's export
// settings dialog, then OK.
std::string ChooseTranslatorLines(int entry);
