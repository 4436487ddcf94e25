#pragma once

#include "GSTypes.hpp"
#include "Services/TableOperation.hpp"

#include <optional>
#include <string>

namespace HostSim {

enum class LifecycleState { Loaded, Bound, Described, Registered, Started, Released, Unloaded };
enum class EntryPoint { Describe, Register, Start, Release };

const char* NameOf(LifecycleState state);
const char* NameOf(EntryPoint entry);

// One add-on's life as the host sees it: loaded, bound to the function table, described, registered,
// started, released, unloaded. The host drives the order; the add-on's own calls back into the host
// are judged against it. Every method that can find a fault returns its text (empty when all is in
// order); the state moves on either way, so one fault does not hide the next.
class AddOnLifecycle {
public:
    LifecycleState State() const { return state; }

    void TableSet();
    std::string EntryCalled(EntryPoint entry);
    std::string EntryAnswered(EntryPoint entry, GSErrCode result);
    void Unloaded();

    // May this add-on make `operation` right now? HostMenuRegister belongs inside register; the
    // operations that take a token need the add-on started (from inside start until release ends).
    std::string CheckHostCall(TableOperation operation) const;
    // A menu pick for a handler this add-on installed.
    std::string CheckMenuCommand() const;

private:
    bool TokenIsLive() const;

    LifecycleState state = LifecycleState::Loaded;
    std::optional<EntryPoint> currentEntry;
};

} // namespace HostSim
