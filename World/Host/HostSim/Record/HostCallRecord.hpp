#pragma once

#include "AddOnToken.hpp"
#include "MemoryManager.hpp"
#include "Record/LibraryCallRecorder.hpp"
#include "Record/Transcript.hpp"
#include "Services/TableOperation.hpp"

#include <optional>

namespace HostSim {

class HostServices;
struct AddOn;
struct HostWorld;

// One table operation in progress. On construction: the host's memory owner becomes current, the
// host's own library work stops being recorded, the caller and (for operations that take one) the
// token are judged, and the fault plan is asked. Finish writes the "host-call" event.
class HostCallRecord {
public:
    // `token` is absent for HostMenuRegister, which takes none.
    HostCallRecord(HostServices& services, HostWorld& world, TableOperation operation,
                   std::optional<AddOnToken> token);
    HostCallRecord(const HostCallRecord&) = delete;
    HostCallRecord& operator=(const HostCallRecord&) = delete;

    // Whether the call is written to a transcript: the arguments are worth describing only then.
    bool Recording() const;
    Json& Arguments() { return arguments; }
    // The add-on on whose behalf the operation runs: the token's owner, or the caller for an operation
    // without a token. Null when there is none the host can accept.
    AddOn* Subject() const { return subject; }
    // The answer to give without doing anything: an injected failure, or a refusal of the caller.
    std::optional<GSErrCode> EarlyAnswer() const;

    GSErrCode Finish(GSErrCode result);

private:
    void JudgeToken(AddOnToken token);

    HostServices& services;
    HostWorld& world;
    TableOperation operation;
    GS::MemoryOwnerScope hostOwner;
    LibraryCallRecorder::HostWork hostWork;
    AddOn* caller;
    AddOn* subject = nullptr;
    std::optional<GSErrCode> injected;
    Json arguments = Json::object();
    std::optional<AddOnToken> token;
};

} // namespace HostSim
