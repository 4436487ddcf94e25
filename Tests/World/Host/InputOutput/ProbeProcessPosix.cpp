#include "ProbeProcess.hpp"

#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <unistd.h>

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

// The one-letter state in /proc/PID/stat follows the parenthesised program name. A process reaped
// between the open and the read makes the read fail (ESRCH), which is read as gone too: a stream
// would throw there instead.
State StateOf(unsigned long processId) {
    const int descriptor =
        ::open(("/proc/" + std::to_string(processId) + "/stat").c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        return State::Gone;
    }
    char buffer[1024];
    const ssize_t got = ::read(descriptor, buffer, sizeof buffer);
    ::close(descriptor);
    const std::string stat(buffer, got > 0 ? static_cast<std::size_t>(got) : 0);
    const std::size_t nameEnd = stat.rfind(')');
    if (nameEnd == std::string::npos || nameEnd + 2 >= stat.size()) {
        return State::Gone;
    }
    return stat[nameEnd + 2] == 'Z' ? State::Zombie : State::Running;
}

} // namespace ProbeProcess
