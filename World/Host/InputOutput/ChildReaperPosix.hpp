#pragma once

#include <sys/types.h>

// Reaps the programs the launcher started, so that a finished one never lingers as a zombie, without
// a SIGCHLD handler (the signal is the host's) and without waiting for any child but its own.
//
// One thread, started at the first launch, sleeps in poll() on a process descriptor per running
// child and on a wake-up pipe. When the library is unloaded or the host exits, the thread is told to
// stop and joined; a child still running then is left to whoever inherits it, as a detached program
// must outlive its host. The thread is therefore never alive after the library's own teardown.
namespace IO::Process::ChildReaper {

// Takes `child` over. Without a process descriptor for it, the thread asks after it now and then
// instead. When no thread can be had, nothing more is done: the child is then reaped by whoever
// inherits it when the host exits.
void Watch(pid_t child);

} // namespace IO::Process::ChildReaper
