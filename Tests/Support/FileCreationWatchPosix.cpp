#include "FileCreationWatchPosix.hpp"

#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

namespace TestSupport {

bool WaitForCreation(int watch, const std::string& prefix) {
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        pollfd ready{watch, POLLIN, 0};
        if (::poll(&ready, 1, 30'000) != 1) {
            return false;
        }
        const ssize_t length = ::read(watch, buffer, sizeof(buffer));
        if (length <= 0) {
            return false;
        }
        for (ssize_t offset = 0; offset < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + offset);
            if (event->len > 0 && std::string(event->name).rfind(prefix, 0) == 0) {
                return true;
            }
            offset += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
}

} // namespace TestSupport
