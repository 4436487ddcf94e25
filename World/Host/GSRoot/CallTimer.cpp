#include "CallTimer.hpp"

#include <atomic>

namespace GS {

namespace {

std::atomic<CallTimer*> installedTimer{nullptr};

} // namespace

CallTimer::~CallTimer() = default;

void SetCallTimer(CallTimer* timer) {
    installedTimer.store(timer);
}

CallTimer* InstalledCallTimer() {
    return installedTimer.load(std::memory_order_acquire);
}

} // namespace GS
