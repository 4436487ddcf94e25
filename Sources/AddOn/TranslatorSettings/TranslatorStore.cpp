#include "TranslatorStore.hpp"

#include "AddOnMain.hpp"
#include "Channels.hpp"
#include "Guid.hpp"
#include "Handles.hpp"
#include "HostServices.hpp"

namespace {

// A host handle that this code made or received, killed whatever path the code takes.
class OwnedHandle {
public:
    OwnedHandle() = default;
    ~OwnedHandle() { BMKillHandle(&handle); }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;

    GSHandle* Address() { return &handle; }
    GSHandle Get() const { return handle; }

private:
    GSHandle handle = nullptr;
};

} // namespace

std::optional<GS::UniString> ReadTranslatorName() {
    GS::Guid guid;
    if (HostObjectFind(&TranslatorObjectName, &guid) != NoError || guid.IsNull()) {
        return std::nullopt;
    }
    GS::UniString objectName; // the host fills it; the name is known already
    OwnedHandle content;
    if (HostObjectRead(&guid, &objectName, content.Address()) != NoError || content.Get() == nullptr) {
        return std::nullopt;
    }
    GS::MemoryIChannel32 channel(*content.Get(), BMGetHandleSize(content.Get()), GS::RetainOwnership, nullptr,
                                 0, GS::StandardAllocation);
    GS::UniString name;
    // The string as the read left it is the answer, even when the content was not a string.
    static_cast<void>(channel.Read(name));
    return name;
}

bool WriteTranslatorName(const GS::UniString& name) {
    GS::Guid guid;
    if (HostObjectFind(&TranslatorObjectName, &guid) != NoError) {
        return false;
    }
    GS::MemoryOChannel32 channel(0, 0, GS::StandardAllocation);
    if (channel.Write(name) != NoError) {
        return false;
    }
    OwnedHandle content;
    if (BMPtrToHandle(channel.GetDestination(GS::RetainOwnership), content.Address(),
                      channel.GetDataSize()) != NoError) {
        return false;
    }
    // The host copies the content; the handle stays ours to kill.
    if (guid == GS::Guid()) {
        return HostObjectCreate(&TranslatorObjectName, content.Address(), &guid) == NoError;
    }
    return HostObjectModify(&guid, &TranslatorObjectName, content.Address()) == NoError;
}
