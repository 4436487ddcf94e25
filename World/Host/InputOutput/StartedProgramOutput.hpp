#pragma once

#include "InputOutputExport.hpp"

// Where the programs the launcher starts write their standard output and error (POSIX only). By
// default they write where the host does. A host that reads a person's commands at a terminal
// captures them instead: it then relays their text above its prompt, which would otherwise be
// overwritten by it and seem gone.
namespace IO::Process::StartedProgramOutput {

// From now on every started program writes its standard output and error into one pipe. Answers the
// pipe's read end (non-blocking, close-on-exec; the caller reads it and closes it), or -1 when no
// pipe can be had: the programs then write where the host does, as before. Called while capturing,
// answers -1 and changes nothing: the first caller owns the pipe.
INPUTOUTPUT_API int Capture();

// Programs started from now on write where the host does again. Those started before keep the pipe
// until they end, so its reader sees the end of the input only once the last of them has ended.
INPUTOUTPUT_API void Release();

// The pipe's write end for the next start, or -1 when not capturing. The launcher's own.
int WriteEnd();

} // namespace IO::Process::StartedProgramOutput
