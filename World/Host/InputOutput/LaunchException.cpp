#include "LaunchException.hpp"

namespace IO::Process {

LaunchException::LaunchException(const char* why) noexcept : reason(why) {}

const char* LaunchException::what() const noexcept {
    return reason;
}

} // namespace IO::Process
