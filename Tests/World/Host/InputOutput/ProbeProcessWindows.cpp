#include "ProbeProcess.hpp"

#include <cstdlib>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace ProbeProcess {

std::filesystem::path ProbeProgram() {
    wchar_t self[MAX_PATH + 1] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    return std::filesystem::path(self).parent_path() / "LaunchProbe.exe";
}

void SetEnvironment(const std::string& name, const std::string& value) {
    ::_putenv_s(name.c_str(), value.c_str());
}

void UnsetEnvironment(const std::string& name) {
    ::_putenv_s(name.c_str(), "");
}

// Windows keeps no zombies: once nobody holds a handle the process is gone.
State StateOf(unsigned long processId) {
    const HANDLE process =
        ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(processId));
    if (process == nullptr) {
        return State::Gone;
    }
    DWORD exitCode = 0;
    const bool running = ::GetExitCodeProcess(process, &exitCode) && exitCode == STILL_ACTIVE;
    ::CloseHandle(process);
    return running ? State::Running : State::Gone;
}

} // namespace ProbeProcess
