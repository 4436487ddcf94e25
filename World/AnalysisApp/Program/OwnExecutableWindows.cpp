#include "Program/OwnExecutable.hpp"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <string>

namespace AnalysisApp {

std::filesystem::path OwnExecutablePath() {
    // GetModuleFileNameW truncates silently to the buffer; a result that fills it may be cut short.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            return std::filesystem::path(path);
        }
        path.resize(path.size() * 2);
    }
}

} // namespace AnalysisApp
