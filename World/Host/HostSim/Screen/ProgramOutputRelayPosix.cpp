#include "Screen/ProgramOutputRelay.hpp"

#include "Screen/LineEditor.hpp"
#include "StartedProgramOutput.hpp"

#include <cerrno>
#include <iostream>
#include <string>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace HostSim {

namespace {

namespace Capture = IO::Process::StartedProgramOutput;

// Copies what is in the pipe now; true when it has ended (no program holds it any more).
bool CopyAvailable(int descriptor) {
    char bytes[4096];
    for (;;) {
        const ssize_t count = ::read(descriptor, bytes, sizeof bytes);
        if (count > 0) {
            LineEditor::WriteToTerminal(bytes, static_cast<std::size_t>(count));
        } else if (count < 0 && errno == EINTR) {
            continue;
        } else {
            return count == 0;
        }
    }
}

// The process that outlives hostsim copying the rest. It is a copy of hostsim made by fork, whose
// other threads are not in it: it calls only the system, never the C library's locks or memory.
[[noreturn]] void CopyUntilTheEnd(int descriptor) {
    constexpr int Kept = 3;
    if (descriptor != Kept) {
        ::dup2(descriptor, Kept);
    }
    ::close(STDIN_FILENO); // the person's typing is the shell's again
    ::close_range(Kept + 1, ~0U, 0);
    ::fcntl(Kept, F_SETFL, 0); // wait for the text instead of spinning
    char bytes[4096];
    for (;;) {
        const ssize_t count = ::read(Kept, bytes, sizeof bytes);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            ::_exit(0);
        }
        LineEditor::WriteToTerminal(bytes, static_cast<std::size_t>(count));
    }
}

} // namespace

ProgramOutputRelay::ProgramOutputRelay() {
    if (::isatty(STDIN_FILENO) != 1 || ::isatty(STDOUT_FILENO) != 1) {
        return;
    }
    descriptor = Capture::Capture();
    if (descriptor >= 0) {
        LineEditor::RelayAbovePrompt(descriptor);
    }
}

ProgramOutputRelay::~ProgramOutputRelay() {
    if (descriptor < 0) {
        return;
    }
    const std::string rest = LineEditor::RelayAbovePrompt(-1);
    std::cout.flush(); // hostsim's last words come before the programs' rest
    Capture::Release();
    LineEditor::WriteToTerminal(rest.data(), rest.size());
    // Once hostsim's own copy of the write end is closed, the pipe ends with its last program.
    if (!CopyAvailable(descriptor)) {
        // The copier is started by a go-between that ends at once, so that it belongs to the system,
        // which reaps it, and never lingers as hostsim's zombie while hostsim runs on (--cycles).
        // Without a process for it, the rest is lost with the pipe: the programs go on regardless.
        const pid_t between = ::fork();
        if (between == 0) {
            if (::fork() == 0) {
                CopyUntilTheEnd(descriptor);
            }
            ::_exit(0);
        }
        int status = 0;
        while (between > 0 && ::waitpid(between, &status, 0) < 0 && errno == EINTR) {
        }
    }
    ::close(descriptor);
}

} // namespace HostSim
