#include "PathsMatrix.hpp"

namespace Scenarios {

namespace {

#ifdef _WIN32
constexpr char Separator = '\\';
#else
constexpr char Separator = '/';
#endif

std::filesystem::path Utf8Path(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string RoleWord(Role role) {
    return role == Role::ExportFolder ? "Export" : "VELD Engineer";
}

std::string FileNameOf(Role role) {
    return role == Role::ExportFolder ? WorkbookName : "VeldEngineer.exe";
}

// A folder below `base` whose name is the role's word and `fragment`, given as it is.
PlacedFolder Named(const std::filesystem::path& base, Role role, const std::string& fragment) {
    const std::filesystem::path folder = base / Utf8Path(RoleWord(role) + fragment);
    return {folder, PathText(folder), PathText(folder)};
}

// A folder whose file (the workbook or the executable) has a path of exactly `total` units.
PlacedFolder OfLength(const std::filesystem::path& base, Role role, std::size_t total) {
    const std::filesystem::path parent = base / (RoleWord(role) + " long");
    const std::size_t taken = PathText(parent).size() + 2 + FileNameOf(role).size();
    const std::filesystem::path folder = parent / std::string(total > taken ? total - taken : 1, 'l');
    return {folder, PathText(folder), PathText(folder)};
}

PlacedFolder WithLeadingDash(const std::filesystem::path& base, Role) {
    // Absolute, as hostsim takes special folders and an installer writes its folder: a path that
    // itself starts with the dash is refused when hostsim starts.
    const std::filesystem::path folder = base / "-x";
    return {folder, PathText(folder), PathText(folder)};
}

PlacedFolder WithTrailingSeparator(const std::filesystem::path& base, Role role) {
    PlacedFolder placed = Named(base, role, " trailing");
    placed.given += Separator;
    return placed;
}

std::vector<PathItem> Items() {
    std::vector<PathItem> items{
        {"Spaces", [](const auto& base, Role role) { return Named(base, role, "  with   spaces"); }},
        {"Percent", [](const auto& base, Role role) { return Named(base, role, " 100% %PATH% %%"); }},
        {"Ampersand", [](const auto& base, Role role) { return Named(base, role, " A & B && C"); }},
        {"Caret", [](const auto& base, Role role) { return Named(base, role, " ^caret^ ^^"); }},
        {"Exclamation", [](const auto& base, Role role) { return Named(base, role, " hi! !PATH!"); }},
        {"LeadingDash", WithLeadingDash},
        {"TrailingSeparator", WithTrailingSeparator},
        {"NonAsciiLetters",
         [](const auto& base, Role role) {
             return Named(base, role, " Zo\xC3\xAB \xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E");
         }},
        // Named like a batch file, yet the executable inside is a program: only the file counts.
        {"FolderNamedLikeABatchFile", [](const auto& base, Role role) { return Named(base, role, ".BAT"); }},
        {"PastTwoHundredCharacters", [](const auto& base, Role role) { return OfLength(base, role, 230); }},
    };
#ifdef _WIN32
    // The host passes paths unprefixed: up to MAX_PATH less its NUL they work, past it the host's
    // calls cannot reach the file.
    items.push_back({"AtMaxPath", [](const auto& base, Role role) { return OfLength(base, role, 259); }});
    items.push_back({"PastMaxPath", [](const auto& base, Role role) { return OfLength(base, role, 260); },
                     Outcome::SaveFailed, Outcome::ApplicationNotFound});
#else
    items.push_back(
        {"DoubleQuotes", [](const auto& base, Role role) { return Named(base, role, " \"quoted\" \""); }});
    items.push_back(
        {"Backslashes", [](const auto& base, Role role) { return Named(base, role, " back\\slash\\"); }});
#endif
    return items;
}

} // namespace

Outcome MatrixCase::Expected() const {
    switch (placement) {
    case Placement::ExportFolder:
        return item.asExportFolder;
    case Placement::InstallFolder:
        return item.asInstallFolder;
    case Placement::Both:
        break;
    }
    return item.asInstallFolder != Outcome::Exported ? item.asInstallFolder : item.asExportFolder;
}

std::vector<MatrixCase> MatrixCases() {
    std::vector<MatrixCase> cases;
    for (const PathItem& item : Items()) {
        for (Placement placement : {Placement::ExportFolder, Placement::InstallFolder, Placement::Both}) {
            cases.push_back({item, placement});
        }
    }
    return cases;
}

std::string MatrixCaseName(const ::testing::TestParamInfo<MatrixCase>& info) {
    const char* placement = info.param.placement == Placement::ExportFolder    ? "AsExportFolder"
                            : info.param.placement == Placement::InstallFolder ? "AsInstallFolder"
                                                                               : "AsBoth";
    return info.param.item.name + "_" + placement;
}

std::string ChildText(const std::string& folder, const std::string& name) {
    return folder + Separator + name;
}

std::string ClosingLine(Outcome outcome) {
    // The information dialog's OK, or the one button of an alert.
    return outcome == Outcome::Exported ? "click 1\n" : "button 1\n";
}

} // namespace Scenarios
