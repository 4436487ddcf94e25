#include "ChildReaperPosix.hpp"

#include <cerrno>
#include <exception>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace IO::Process::ChildReaper {

namespace {

// How often a child without a process descriptor (a kernel or emulator without pidfd_open) is asked
// whether it has ended.
constexpr int FallbackPollMilliseconds = 100;

// Through the system call itself: not every C library declares a wrapper, and one that does may
// declare it without C linkage.
int OpenProcessDescriptor(pid_t child) {
#ifdef SYS_pidfd_open
    return static_cast<int>(::syscall(SYS_pidfd_open, child, 0));
#else
    return -1;
#endif
}

struct Child {
    pid_t processId;
    int descriptor; // -1 when pidfd_open is not available
};

class Reaper {
public:
    static Reaper& Instance() {
        // Destroyed with the library's statics, so that the thread ends before the code it runs goes.
        static Reaper reaper;
        return reaper;
    }

    void Watch(pid_t child) {
        const int descriptor = OpenProcessDescriptor(child);
        try {
            std::lock_guard lock(mutex);
            if (StartThread()) {
                incoming.push_back({child, descriptor});
                Wake();
                return;
            }
        } catch (const std::exception&) {
            // No memory for the hand-over: the launch still succeeded.
        }
        if (descriptor >= 0) {
            ::close(descriptor);
        }
    }

    ~Reaper() {
        {
            std::lock_guard lock(mutex);
            stopping = true;
            Wake();
        }
        if (thread.joinable()) {
            thread.join();
        }
        for (const Child& child : incoming) {
            CloseDescriptor(child);
        }
        if (wakeRead >= 0) {
            ::close(wakeRead);
            ::close(wakeWrite);
        }
    }

    Reaper(const Reaper&) = delete;
    Reaper& operator=(const Reaper&) = delete;

private:
    Reaper() = default;

    // Called with the mutex held.
    bool StartThread() {
        if (thread.joinable()) {
            return true;
        }
        if (wakeRead < 0) {
            int ends[2] = {-1, -1};
            if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
                return false;
            }
            wakeRead = ends[0];
            wakeWrite = ends[1];
        }
        try {
            thread = std::thread([this] { Run(); });
        } catch (const std::exception&) { // no thread or no memory for one
            return false;
        }
        return true;
    }

    // Called with the mutex held. A full pipe already holds a wake-up, so a failed write loses none.
    void Wake() const {
        if (wakeWrite >= 0) {
            const char byte = 0;
            [[maybe_unused]] const ssize_t written = ::write(wakeWrite, &byte, 1);
        }
    }

    void Drain() const {
        char bytes[64];
        while (::read(wakeRead, bytes, sizeof bytes) > 0) {
        }
    }

    static void CloseDescriptor(const Child& child) {
        if (child.descriptor >= 0) {
            ::close(child.descriptor);
        }
    }

    // Reaps the child if it has ended; true when it is gone (also when someone else reaped it).
    static bool Reaped(const Child& child) {
        int status = 0;
        pid_t result = 0;
        do {
            result = ::waitpid(child.processId, &status, WNOHANG);
        } while (result < 0 && errno == EINTR);
        return result != 0;
    }

    void Run() {
        std::vector<Child> watched;
        std::vector<pollfd> waits;
        for (;;) {
            {
                std::lock_guard lock(mutex);
                if (stopping) {
                    break;
                }
                watched.insert(watched.end(), incoming.begin(), incoming.end());
                incoming.clear();
            }
            std::erase_if(watched, [](const Child& child) {
                const bool gone = Reaped(child);
                if (gone) {
                    CloseDescriptor(child);
                }
                return gone;
            });

            waits.assign(1, pollfd{wakeRead, POLLIN, 0});
            bool anyWithoutDescriptor = false;
            for (const Child& child : watched) {
                if (child.descriptor >= 0) {
                    waits.push_back({child.descriptor, POLLIN, 0});
                } else {
                    anyWithoutDescriptor = true;
                }
            }
            const int timeout = anyWithoutDescriptor ? FallbackPollMilliseconds : -1;
            if (::poll(waits.data(), waits.size(), timeout) < 0 && errno != EINTR) {
                break;
            }
            if ((waits.front().revents & POLLIN) != 0) {
                Drain();
            }
        }
        for (const Child& child : watched) {
            CloseDescriptor(child);
        }
    }

    std::mutex mutex;
    std::vector<Child> incoming; // handed over by Watch, taken by the thread
    bool stopping = false;
    int wakeRead = -1;
    int wakeWrite = -1;
    std::thread thread;
};

} // namespace

void Watch(pid_t child) {
    Reaper::Instance().Watch(child);
}

} // namespace IO::Process::ChildReaper
