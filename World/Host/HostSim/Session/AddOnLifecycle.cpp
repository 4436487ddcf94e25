#include "Session/AddOnLifecycle.hpp"

#include "Record/ReadableText.hpp"

namespace HostSim {

const char* NameOf(LifecycleState state) {
    switch (state) {
    case LifecycleState::Loaded:
        return "loaded";
    case LifecycleState::Bound:
        return "bound";
    case LifecycleState::Described:
        return "described";
    case LifecycleState::Registered:
        return "registered";
    case LifecycleState::Started:
        return "started";
    case LifecycleState::Released:
        return "released";
    case LifecycleState::Unloaded:
        return "unloaded";
    }
    return "?";
}

const char* NameOf(EntryPoint entry) {
    switch (entry) {
    case EntryPoint::Describe:
        return "describe";
    case EntryPoint::Register:
        return "register";
    case EntryPoint::Start:
        return "start";
    case EntryPoint::Release:
        return "release";
    }
    return "?";
}

namespace {

// The state an entry point may be called in, in the host's order.
LifecycleState StateBefore(EntryPoint entry) {
    switch (entry) {
    case EntryPoint::Describe:
        return LifecycleState::Bound;
    case EntryPoint::Register:
        return LifecycleState::Described;
    case EntryPoint::Start:
        return LifecycleState::Registered;
    case EntryPoint::Release:
        return LifecycleState::Started;
    }
    return LifecycleState::Loaded;
}

LifecycleState StateAfter(EntryPoint entry) {
    switch (entry) {
    case EntryPoint::Describe:
        return LifecycleState::Described;
    case EntryPoint::Register:
        return LifecycleState::Registered;
    case EntryPoint::Start:
        return LifecycleState::Started;
    case EntryPoint::Release:
        return LifecycleState::Released;
    }
    return LifecycleState::Loaded;
}

} // namespace

void AddOnLifecycle::TableSet() {
    if (state == LifecycleState::Loaded) {
        state = LifecycleState::Bound;
    }
}

std::string AddOnLifecycle::EntryCalled(EntryPoint entry) {
    currentEntry = entry;
    if (state == LifecycleState::Loaded || state == StateBefore(entry)) {
        return {};
    }
    return std::string(NameOf(entry)) + " called while the add-on is " + NameOf(state);
}

std::string AddOnLifecycle::EntryAnswered(EntryPoint entry, GSErrCode result) {
    currentEntry.reset();
    if (state == LifecycleState::Loaded) {
        // Before the table is set an add-on can do nothing: describe answers 0, the others NotInitialised.
        const GSErrCode expected = entry == EntryPoint::Describe ? NoError : GSErr::NotInitialised;
        if (result != expected) {
            return std::string(NameOf(entry)) + " answered " + FormatResultCodeHex(result) +
                   " before the function table was set (expected " + FormatResultCodeHex(expected) + ")";
        }
        return {};
    }
    state = StateAfter(entry);
    return {};
}

void AddOnLifecycle::Unloaded() {
    state = LifecycleState::Unloaded;
    currentEntry.reset();
}

bool AddOnLifecycle::TokenIsLive() const {
    return state == LifecycleState::Started || currentEntry == EntryPoint::Start;
}

std::string AddOnLifecycle::CheckHostCall(TableOperation operation) const {
    const std::string name(InfoOf(operation).name);
    if (operation == TableOperation::MenuRegister) {
        if (currentEntry == EntryPoint::Register && state != LifecycleState::Loaded) {
            return {};
        }
        return name + " outside the add-on's register call (add-on " + NameOf(state) + ")";
    }
    if (!TokenIsLive()) {
        return name + " while the add-on is " + NameOf(state) + ": it holds no valid token";
    }
    return {};
}

std::string AddOnLifecycle::CheckMenuCommand() const {
    if (state == LifecycleState::Started && !currentEntry) {
        return {};
    }
    return std::string("menu command for an add-on that is ") + NameOf(state);
}

} // namespace HostSim
