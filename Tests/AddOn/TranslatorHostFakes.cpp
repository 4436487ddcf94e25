#include "TranslatorHostFakes.hpp"

#include "Channels.hpp"
#include "DGItem.hpp"
#include "Handles.hpp"
#include "MemoryManager.hpp"

namespace {

template <typename T>
T* Pointer(std::uint64_t argument) {
    return reinterpret_cast<T*>(static_cast<std::uintptr_t>(argument));
}

std::string FourLetters(UInt32 code) {
    return {static_cast<char>(code >> 24), static_cast<char>((code >> 16) & 0xFF),
            static_cast<char>((code >> 8) & 0xFF), static_cast<char>(code & 0xFF)};
}

std::vector<char> CopyOf(const GSHandle* content) {
    if (content == nullptr || *content == nullptr) {
        return {};
    }
    return std::vector<char>(**content, **content + BMGetHandleSize(*content));
}

} // namespace

std::vector<char> SerializedText(const GS::UniString& text) {
    GS::MemoryOChannel32 channel(0, 0, GS::StandardAllocation);
    static_cast<void>(channel.Write(text));
    const char* bytes = channel.GetDestination(GS::RetainOwnership);
    return std::vector<char>(bytes, bytes + channel.GetDataSize());
}

// ---- FakeProjectObjects

// As the host does, the work runs with the host's memory owner current: what the project keeps is the
// host's, and only what the add-on receives counts against it until it frees it.
FakeProjectObjects::FakeProjectObjects(FakeHost& host) {
    host.RespondWith(FakeSlot::ObjectFind, [this](const HostCall& call) {
        GS::MemoryOwnerScope hostOwner(GS::HostMemoryOwner);
        return Find(call);
    });
    host.RespondWith(FakeSlot::ObjectRead, [this](const HostCall& call) {
        GS::MemoryOwnerScope hostOwner(GS::HostMemoryOwner);
        return Read(call);
    });
    host.RespondWith(FakeSlot::ObjectCreate, [this](const HostCall& call) {
        GS::MemoryOwnerScope hostOwner(GS::HostMemoryOwner);
        return Create(call);
    });
    host.RespondWith(FakeSlot::ObjectModify, [this](const HostCall& call) {
        GS::MemoryOwnerScope hostOwner(GS::HostMemoryOwner);
        return Modify(call);
    });
}

GS::Guid FakeProjectObjects::Add(const GS::UniString& name, std::vector<char> content) {
    const GS::Guid guid = GS::Guid::Generate();
    objects.push_back({guid, name, std::move(content)});
    return guid;
}

std::size_t FakeProjectObjects::CountNamed(const GS::UniString& name) const {
    std::size_t count = 0;
    for (const Object& object : objects) {
        count += object.name == name ? 1u : 0u;
    }
    return count;
}

GSErrCode FakeProjectObjects::Find(const HostCall& call) {
    if (findAnswer != NoError) {
        return findAnswer;
    }
    const auto& name = *Pointer<const GS::UniString>(call.arguments[0]);
    auto& guid = *Pointer<GS::Guid>(call.arguments[1]);
    guid = GS::Guid();
    for (const Object& object : objects) {
        if (object.name == name) {
            guid = object.guid;
            break;
        }
    }
    return NoError;
}

GSErrCode FakeProjectObjects::Read(const HostCall& call) {
    if (readAnswer != NoError) {
        return readAnswer;
    }
    const auto& guid = *Pointer<const GS::Guid>(call.arguments[0]);
    for (const Object& object : objects) {
        if (object.guid == guid) {
            *Pointer<GS::UniString>(call.arguments[1]) = object.name;
            if (readWithoutContent) {
                return NoError;
            }
            return BMPtrToHandle(object.content.data(), Pointer<GSHandle>(call.arguments[2]),
                                 static_cast<GSSize>(object.content.size()));
        }
    }
    return GSErr::NotFound;
}

GSErrCode FakeProjectObjects::Create(const HostCall& call) {
    const GS::Guid guid = GS::Guid::Generate();
    objects.push_back({guid, *Pointer<const GS::UniString>(call.arguments[0]),
                       CopyOf(Pointer<const GSHandle>(call.arguments[1]))});
    *Pointer<GS::Guid>(call.arguments[2]) = guid;
    return NoError;
}

GSErrCode FakeProjectObjects::Modify(const HostCall& call) {
    const auto& guid = *Pointer<const GS::Guid>(call.arguments[0]);
    for (Object& object : objects) {
        if (object.guid == guid) {
            object.name = *Pointer<const GS::UniString>(call.arguments[1]);
            object.content = CopyOf(Pointer<const GSHandle>(call.arguments[2]));
            return NoError;
        }
    }
    return GSErr::NotFound;
}

// ---- FakeSafAddOn

FakeSafAddOn::FakeSafAddOn(FakeHost& host) {
    host.RespondWith(FakeSlot::CommandCall, [this](const HostCall& recorded) {
        SafCall call;
        call.target = *Pointer<const AddOnModuleId>(recorded.arguments[0]);
        call.command = FourLetters(static_cast<UInt32>(recorded.arguments[1]));
        call.version = static_cast<UInt32>(recorded.arguments[2]);
        call.parameter = Pointer<void>(recorded.arguments[3]);
        call.result = Pointer<void>(recorded.arguments[4]);
        call.silent = recorded.arguments[5] != 0;
        call.answer = Answer(call);
        calls.push_back(call);
        return call.answer;
    });
}

std::vector<std::string> FakeSafAddOn::Commands() const {
    std::vector<std::string> commands;
    for (const SafCall& call : calls) {
        commands.push_back(call.command);
    }
    return commands;
}

void* FakeSafAddOn::NewHandle() {
    nextHandle += 0x10;
    issued.push_back(reinterpret_cast<void*>(nextHandle));
    return issued.back();
}

GSErrCode FakeSafAddOn::Answer(SafCall& call) {
    if (failCallNumber == calls.size() + 1) {
        return GSErr::Generic;
    }
    if (auto failure = failures.find(call.command); failure != failures.end()) {
        return failure->second;
    }
    if (call.command == "LADA") {
        void* handle = NewHandle();
        open.insert(handle);
        *static_cast<void**>(call.parameter) = handle;
        return NoError;
    }
    if (call.command == "FADA") {
        void*& handle = *static_cast<void**>(call.parameter);
        return open.erase(handle) == 1 ? NoError : GSErr::BadParameter;
    }
    if (call.command == "ISID") {
        void*& handle = *static_cast<void**>(call.result);
        if (!open.contains(handle)) {
            return GSErr::BadParameter;
        }
        if (duringDetails) {
            duringDetails(*this);
        }
        if (detailsReplacesHandle) {
            open.erase(handle);
            handle = NewHandle();
            open.insert(handle);
        }
        return NoError;
    }
    void* handle = call.command == "SSTD" || call.command == "GSTD" ? call.parameter : call.result;
    if (!open.contains(handle)) {
        return GSErr::BadParameter;
    }
    if (call.command == "SSTD") {
        const auto& name = *static_cast<const GS::UniString*>(call.result);
        for (std::size_t index = 0; index < translators.size(); ++index) {
            if (translators[index] == name) {
                selected = index;
                return NoError;
            }
        }
        return GSErr::NotFound;
    }
    if (call.command == "GSTD") {
        if (reportedSelection) {
            *static_cast<GS::UniString*>(call.result) = *reportedSelection;
            return NoError;
        }
        if (selected >= translators.size()) {
            return GSErr::NotFound;
        }
        *static_cast<GS::UniString*>(call.result) = translators[selected];
        return NoError;
    }
    if (call.command == "GTRS") {
        for (const GS::UniString& name : translators) {
            static_cast<GS::Array<GS::UniString>*>(call.parameter)->Push(name);
        }
        return NoError;
    }
    if (call.command == "FTRP") {
        auto& popUp = *static_cast<DG::PopUp*>(call.parameter);
        popUp.DeleteItem(0);
        for (const GS::UniString& name : translators) {
            popUp.AppendItem();
            popUp.SetItemText(popUp.GetItemCount(), name);
        }
        return NoError;
    }
    return GSErr::BadParameter;
}

std::string FakeSafAddOn::BracketFault() const {
    bool anyOpen = false;
    for (std::size_t index = 0; index < calls.size(); ++index) {
        const SafCall& call = calls[index];
        const std::string where = "call " + std::to_string(index + 1) + " '" + call.command + "': ";
        if (call.command == "LADA") {
            if (anyOpen) {
                return where + "a second bracket opened inside the first";
            }
            if (call.answer == NoError) {
                anyOpen = true;
            } else if (index + 1 < calls.size() && calls[index + 1].command != "LADA") {
                return where + "failed, yet '" + calls[index + 1].command + "' followed";
            }
        } else if (!anyOpen) {
            return where + "outside a bracket";
        } else if (call.command == "FADA") {
            anyOpen = false;
        }
    }
    // Counted by calls: a 'FADA' that the SAF add-on refused still was the one closing call.
    if (anyOpen) {
        return "a handle from 'LADA' was never given back with 'FADA'";
    }
    return {};
}
