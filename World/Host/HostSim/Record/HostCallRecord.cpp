#include "Record/HostCallRecord.hpp"

#include "Record/ReadableText.hpp"
#include "Services/HostServices.hpp"

namespace HostSim {

HostCallRecord::HostCallRecord(HostServices& hostServices, HostWorld& hostWorld, TableOperation op,
                               std::optional<AddOnToken> givenToken)
    : services(hostServices), world(hostWorld), operation(op), hostOwner(GS::HostMemoryOwner),
      hostWork(hostWorld.libraryCalls), caller(hostWorld.addOns.Caller()), token(givenToken) {
    if (caller == nullptr) {
        services.ReportViolation(nullptr, std::string(InfoOf(operation).name) +
                                              " called while the host is not calling any add-on");
    } else if (std::string fault = caller->lifecycle.CheckHostCall(operation); !fault.empty()) {
        services.ReportViolation(caller, fault);
    } else if (!token) {
        subject = caller;
    }
    if (token) {
        JudgeToken(*token);
    }
    if (!world.faults.IsEmpty()) {
        injected = world.faults.OnCall(std::string(InfoOf(operation).name));
    }
}

bool HostCallRecord::Recording() const {
    return world.transcript.IsOpen();
}

void HostCallRecord::JudgeToken(AddOnToken given) {
    const std::string name(InfoOf(operation).name);
    AddOn* owner = world.addOns.FindByToken(given);
    if (given == nullptr) {
        services.ReportViolation(caller, name + " with a null token");
    } else if (owner == nullptr) {
        services.ReportViolation(caller, name + " with unknown token " + AddressText(given));
    } else if (caller != nullptr && owner != caller) {
        services.ReportViolation(caller, name + " with the token of add-on " + owner->name);
    } else if (caller != nullptr && owner->lifecycle.CheckHostCall(operation).empty()) {
        subject = owner;
    }
}

std::optional<GSErrCode> HostCallRecord::EarlyAnswer() const {
    if (injected) {
        return injected;
    }
    if (subject == nullptr) {
        return GSErr::BadParameter;
    }
    return std::nullopt;
}

GSErrCode HostCallRecord::Finish(GSErrCode result) {
    if (!Recording()) {
        return result;
    }
    Json fields;
    fields["op"] = std::string(InfoOf(operation).name);
    if (caller != nullptr) {
        fields["module"] = caller->name;
    }
    if (token) {
        fields["token"] = AddressText(*token);
    }
    fields["arguments"] = arguments;
    fields["result"] = result;
    fields["resultHex"] = FormatResultCodeHex(result);
    if (injected) {
        fields["injected"] = true;
    }
    world.transcript.Write("host-call", fields);
    return result;
}

} // namespace HostSim
