#include "XercescInitializer.hpp"

#include <mutex>

// The host libraries carry no XML parser: "initialised" is the state that the reference count
// drives (set by the first instance, cleared when the last one goes), which is all an add-on can
// observe of the subsystem.
namespace GSXML {

namespace {

struct Subsystem {
    std::mutex mutex;
    Int32 references = 0;
    bool initialised = false;
};

Subsystem& GetSubsystem() {
    static Subsystem* subsystem = new Subsystem;
    return *subsystem;
}

} // namespace

XercescInitializer::XercescInitializer() {
    Subsystem& subsystem = GetSubsystem();
    std::lock_guard lock(subsystem.mutex);
    if (subsystem.references++ == 0) {
        subsystem.initialised = true;
    }
}

XercescInitializer::~XercescInitializer() {
    Subsystem& subsystem = GetSubsystem();
    std::lock_guard lock(subsystem.mutex);
    if (--subsystem.references == 0) {
        subsystem.initialised = false;
    }
}

Int32 XercescInitializer::GetReferenceCount() {
    Subsystem& subsystem = GetSubsystem();
    std::lock_guard lock(subsystem.mutex);
    return subsystem.references;
}

bool XercescInitializer::IsInitialised() {
    Subsystem& subsystem = GetSubsystem();
    std::lock_guard lock(subsystem.mutex);
    return subsystem.initialised;
}

} // namespace GSXML
