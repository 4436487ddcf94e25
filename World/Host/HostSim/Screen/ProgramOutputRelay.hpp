#pragma once

namespace HostSim {

// While a person types commands at a terminal, the programs hostsim starts (the analysis
// application) would write straight to that terminal, after the prompt, which then seems gone.
// Instead they write into a pipe of hostsim's, and the prompt relays their text above itself
// (LineEditor.hpp). For a script, a pipe or a file nothing changes: nobody waits at a prompt there,
// and the programs' text goes where hostsim's does, in the order written.
class ProgramOutputRelay {
public:
    // Starts relaying when standard input and output are a terminal.
    ProgramOutputRelay();
    // Shows what has come, and leaves what is still to come to a small process of its own, which
    // copies it to the terminal until the last program has ended: hostsim's end must neither wait for
    // a program that stays open for hours nor cut its text off.
    ~ProgramOutputRelay();
    ProgramOutputRelay(const ProgramOutputRelay&) = delete;
    ProgramOutputRelay& operator=(const ProgramOutputRelay&) = delete;

private:
    [[maybe_unused]] int descriptor = -1; // the pipe's read end (POSIX)
};

} // namespace HostSim
