#include "ProbeProcess.hpp"

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace ProbeProcess {

std::filesystem::path ProbeProgram() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path() / "LaunchProbe";
}

void SetEnvironment(const std::string& name, const std::string& value) {
    ::setenv(name.c_str(), value.c_str(), 1);
}

void UnsetEnvironment(const std::string& name) {
    ::unsetenv(name.c_str());
}

// The one-letter state in /proc/PID/stat follows the parenthesised program name.
State StateOf(unsigned long processId) {
    std::ifstream in("/proc/" + std::to_string(processId) + "/stat");
    const std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t nameEnd = stat.rfind(')');
    if (nameEnd == std::string::npos || nameEnd + 2 >= stat.size()) {
        return State::Gone;
    }
    return stat[nameEnd + 2] == 'Z' ? State::Zombie : State::Running;
}

} // namespace ProbeProcess
