#include "StartedProgramOutput.hpp"

#include <atomic>
#include <fcntl.h>
#include <unistd.h>

namespace IO::Process::StartedProgramOutput {

namespace {

// Launches and the host's capture may come from different threads.
std::atomic<int> writeEnd{-1};

} // namespace

int Capture() {
    if (writeEnd.load() >= 0) {
        return -1;
    }
    int ends[2] = {-1, -1};
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        return -1;
    }
    // Only the reader's end is non-blocking: the two ends are separate open files, and a program
    // writing into a non-blocking end would lose what does not fit into a full pipe.
    if (::fcntl(ends[0], F_SETFL, O_NONBLOCK) != 0) {
        ::close(ends[0]);
        ::close(ends[1]);
        return -1;
    }
    int none = -1;
    if (!writeEnd.compare_exchange_strong(none, ends[1])) {
        ::close(ends[0]);
        ::close(ends[1]);
        return -1;
    }
    return ends[0];
}

void Release() {
    if (const int end = writeEnd.exchange(-1); end >= 0) {
        ::close(end);
    }
}

int WriteEnd() {
    return writeEnd.load();
}

} // namespace IO::Process::StartedProgramOutput
