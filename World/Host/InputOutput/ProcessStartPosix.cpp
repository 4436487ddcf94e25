#include "ProcessStart.hpp"

#include "ChildReaperPosix.hpp"
#include "StartedProgramOutput.hpp"

#include <cerrno>
#include <csignal>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace IO::Process::ProcessStart {

namespace {

// The spawn attributes and file actions, released on every path.
class SpawnSetup {
public:
    SpawnSetup() {
        posix_spawnattr_init(&attributes);
        posix_spawn_file_actions_init(&actions);
        sigset_t signals;
        sigemptyset(&signals);
        posix_spawnattr_setsigmask(&attributes, &signals);
        sigfillset(&signals);
        posix_spawnattr_setsigdefault(&attributes, &signals);
        posix_spawnattr_setpgroup(&attributes, 0);
        posix_spawnattr_setflags(&attributes,
                                 POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);
        // A host that captures its programs' output hands them its pipe as standard output and error.
        if (const int capture = StartedProgramOutput::WriteEnd(); capture >= 0) {
            posix_spawn_file_actions_adddup2(&actions, capture, STDOUT_FILENO);
            posix_spawn_file_actions_adddup2(&actions, capture, STDERR_FILENO);
        }
        // The host's pipes and files stay the host's: a reader of the host's output must not wait
        // for the launched program to end.
        posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    }
    ~SpawnSetup() {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    posix_spawnattr_t attributes{};
    posix_spawn_file_actions_t actions{};
};

bool HoldsNul(const GS::UniString& text) {
    return text.FindFirst(u'\0') != GS::MaxUIndex;
}

// Judged before the start as well as by posix_spawn's result: where the spawn runs as a plain fork
// (under valgrind, or a C library that reports exec failures only through the child's exit), a
// program that cannot run would otherwise count as started.
GSErrCode CheckRunnable(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return GSErr::NotFound;
    }
    const bool anyExecuteBit = (info.st_mode & (S_IXUSR | S_IXGRP | S_IXOTH)) != 0;
    return S_ISREG(info.st_mode) && anyExecuteBit ? NoError : GSErr::IOError;
}

GSErrCode CodeOf(int spawnError) {
    return spawnError == ENOENT || spawnError == ENOTDIR ? GSErr::NotFound : GSErr::IOError;
}

} // namespace

GSErrCode StartDetached(const GS::UniString& executablePath, const GS::Array<GS::UniString>& arguments) {
    std::vector<std::string> texts;
    texts.emplace_back(executablePath.ToUTF8().Get());
    if (const GSErrCode runnable = CheckRunnable(texts.front()); runnable != NoError) {
        return runnable;
    }
    for (const GS::UniString& argument : arguments) {
        if (HoldsNul(argument)) {
            return GSErr::BadParameter;
        }
        texts.emplace_back(argument.ToUTF8().Get());
    }
    std::vector<char*> argv;
    for (std::string& text : texts) {
        argv.push_back(text.data());
    }
    argv.push_back(nullptr);

    SpawnSetup setup;
    pid_t child = 0;
    // glibc reports a failed exec (missing file, not executable) as posix_spawn's own result.
    const int spawned =
        ::posix_spawn(&child, argv[0], &setup.actions, &setup.attributes, argv.data(), environ);
    if (spawned != 0) {
        return CodeOf(spawned);
    }
    ChildReaper::Watch(child);
    return NoError;
}

} // namespace IO::Process::ProcessStart
