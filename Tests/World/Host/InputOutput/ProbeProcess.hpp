#pragma once

#include <filesystem>
#include <string>

// The platform pieces the launcher tests need around the probe; ProbeProcessPosix.cpp,
// ProbeProcessWindows.cpp.
namespace ProbeProcess {

// The probe program, built into the same folder as the test program.
std::filesystem::path ProbeProgram();

// Sets or removes a variable of this process's environment, which a started program inherits.
void SetEnvironment(const std::string& name, const std::string& value);
void UnsetEnvironment(const std::string& name);

enum class State {
    Running,
    Zombie, // ended but not reaped by its parent (POSIX only)
    Gone
};

State StateOf(unsigned long processId);

} // namespace ProbeProcess
