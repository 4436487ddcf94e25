#pragma once

#include "Array.hpp"
#include "GSTypes.hpp"
#include "InputOutputExport.hpp"
#include "LaunchException.hpp"
#include "Location.hpp"
#include "UniString.hpp"

namespace IO::Process {

// How the launched program runs. Only a separate process is offered.
enum class LaunchMode : Int32 { SeparateProcess = 1 };

// What the launcher does once the program has started. Only "return at once" is offered.
enum class LaunchOption : Int32 { DoNotWait = 1 };

// The code a call monitor answers to make Launch throw a LaunchException instead of failing with a
// code (hostsim's `--fail IO::Process::ApplicationLauncher::Launch=throw`).
constexpr GSErrCode ThrowRequested = static_cast<GSErrCode>(0x81067001u);

// The host's one application launcher. It starts programs as processes of their own, hands each
// exactly the arguments given (no shell, no splitting, no expansion) and never waits for them.
//
// POSIX: posix_spawn of the executable itself with argv = {executable path, arguments...}, the
// process environment, default signal dispositions, an empty signal mask, a process group of its
// own (a Ctrl-C at the host's terminal does not reach it), none of the host's descriptors above
// stderr, and the host's standard output and error unless the host captures them into a pipe of its
// own (StartedProgramOutput.hpp). One thread of the library's reaps the started programs as they
// end (ChildReaperPosix.hpp), so a finished program never lingers as a zombie, and no SIGCHLD handler
// of the host's is disturbed.
//
// Windows: CreateProcessW with the executable as the application name and a command line quoted so
// that the C runtime's splitting gives back each argument unchanged (WindowsCommandLine.hpp). Batch
// files (.bat, .cmd) are refused: Windows would run them through the command interpreter, which
// splits and expands the line by rules of its own.
class INPUTOUTPUT_API ApplicationLauncher {
public:
    // Lives as long as the process; the caller never frees it.
    static ApplicationLauncher& Instance();

    ApplicationLauncher(const ApplicationLauncher&) = delete;
    ApplicationLauncher& operator=(const ApplicationLauncher&) = delete;

    // Starts `executable` with `arguments` (read during the call, not kept) and returns once the
    // process has started or failed to. Answers NoError when it started; GSErr::NotFound when there
    // is no such file; GSErr::BadParameter for a mode or option not offered, a batch file (Windows),
    // or an argument holding a NUL (no command line can carry one); GSErr::IOError when the system refused
    // the start (not executable, a folder, no resources); or the code a call monitor answered. Throws
    // LaunchException for an empty executable location, one that is not legal in the native file system, or
    // when the call monitor answers ThrowRequested. Reported as "IO::Process::ApplicationLauncher::Launch".
    GSErrCode Launch(const Location& executable, const GS::Array<GS::UniString>& arguments, LaunchMode mode,
                     LaunchOption option);

private:
    ApplicationLauncher() = default;
    ~ApplicationLauncher() = default;
};

} // namespace IO::Process
