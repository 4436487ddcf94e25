#pragma once

#include "GSRootExport.hpp"

namespace GS {

// The host's stopwatch over the few library operations whose time it wants apart from the add-on's
// own (starting a program, say). Unlike the call monitor it sees no arguments and changes nothing,
// so a host may install it without turning on the libraries' call reports. Without a timer
// installed a timed operation costs one load.
class GSROOT_API CallTimer {
public:
    virtual ~CallTimer();
    // Around the operation, on the thread that runs it; `operation` is the name it reports under.
    virtual void Entered(const char* operation) = 0;
    virtual void Left(const char* operation) = 0;
};

GSROOT_API void SetCallTimer(CallTimer* timer);
GSROOT_API CallTimer* InstalledCallTimer();

// Times one operation for the life of the scope, also when it ends by an exception.
class TimedCall {
public:
    explicit TimedCall(const char* operationName) : timer(InstalledCallTimer()), operation(operationName) {
        if (timer != nullptr) {
            timer->Entered(operation);
        }
    }
    ~TimedCall() {
        if (timer != nullptr) {
            timer->Left(operation);
        }
    }
    TimedCall(const TimedCall&) = delete;
    TimedCall& operator=(const TimedCall&) = delete;

private:
    CallTimer* timer;
    const char* operation;
};

} // namespace GS
