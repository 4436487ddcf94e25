#include "Handles.hpp"
#include "Record/HostCallRecord.hpp"
#include "Record/ReadableText.hpp"
#include "Services/HostServices.hpp"

namespace HostSim {

namespace {

std::string Utf8(const GS::UniString& text) {
    return text.ToUTF8().Get();
}

std::string GuidText(const GS::Guid& guid) {
    return Utf8(guid.ToUniString());
}

void DescribeContent(Json& arguments, const GSHandle* content) {
    if (content == nullptr) {
        arguments["content"] = nullptr;
        return;
    }
    const std::vector<char> bytes = ObjectStore::CopyHandle(*content);
    arguments["contentSize"] = bytes.size();
    arguments["contentHex"] = HexOf(reinterpret_cast<const UInt8*>(bytes.data()), bytes.size());
}

// The "object" event: what the operation did to the project's objects.
void WriteObjectEvent(HostWorld& world, const char* op, const GS::UniString* name, const GS::Guid* guid,
                      const GSHandle* content, GSErrCode result) {
    if (!world.transcript.IsOpen()) {
        return;
    }
    Json fields;
    fields["op"] = op;
    fields["name"] = name != nullptr ? Json(Utf8(*name)) : Json();
    fields["guid"] = guid != nullptr ? Json(GuidText(*guid)) : Json();
    fields["contentSize"] = content != nullptr ? Json(BMGetHandleSize(*content)) : Json();
    fields["result"] = result;
    world.transcript.Write("object", fields);
}

} // namespace

GSErrCode HostServices::ObjectCreate(AddOnToken token, const GS::UniString* name, GSHandle* content,
                                     GS::Guid* guid) {
    HostCallRecord call(*this, world, TableOperation::ObjectCreate, token);
    if (call.Recording()) {
        if (name != nullptr) {
            call.Arguments()["name"] = Utf8(*name);
        }
        DescribeContent(call.Arguments(), content);
    }
    if (std::optional<GSErrCode> answer = call.EarlyAnswer()) {
        return call.Finish(*answer);
    }
    if (name == nullptr || content == nullptr || guid == nullptr) {
        return call.Finish(GSErr::BadParameter);
    }
    *guid = world.objects.Create(*name, *content);
    if (call.Recording()) {
        call.Arguments()["guid"] = GuidText(*guid);
    }
    WriteObjectEvent(world, "create", name, guid, content, NoError);
    return call.Finish(NoError);
}

GSErrCode HostServices::ObjectRead(AddOnToken token, const GS::Guid* guid, GS::UniString* name,
                                   GSHandle* content) {
    HostCallRecord call(*this, world, TableOperation::ObjectRead, token);
    if (guid != nullptr && call.Recording()) {
        call.Arguments()["guid"] = GuidText(*guid);
    }
    if (std::optional<GSErrCode> answer = call.EarlyAnswer()) {
        return call.Finish(*answer);
    }
    if (guid == nullptr || name == nullptr || content == nullptr) {
        return call.Finish(GSErr::BadParameter);
    }
    const ObjectStore::Object* object = world.objects.Find(*guid);
    if (object == nullptr) {
        WriteObjectEvent(world, "read", nullptr, guid, nullptr, GSErr::NotFound);
        return call.Finish(GSErr::NotFound);
    }
    if (*content != nullptr && call.Recording()) {
        call.Arguments()["note"] = "content handle was not null before the call";
    }
    // The handle is new and the caller's to kill; the store keeps its own bytes.
    const GSErrCode made =
        BMPtrToHandle(object->content.data(), content, static_cast<GSSize>(object->content.size()));
    if (made != NoError) {
        return call.Finish(made);
    }
    *name = object->name;
    if (call.Recording()) {
        call.Arguments()["name"] = Utf8(object->name);
        DescribeContent(call.Arguments(), content);
    }
    WriteObjectEvent(world, "read", name, guid, content, NoError);
    return call.Finish(NoError);
}

GSErrCode HostServices::ObjectModify(AddOnToken token, const GS::Guid* guid, const GS::UniString* name,
                                     GSHandle* content) {
    HostCallRecord call(*this, world, TableOperation::ObjectModify, token);
    if (call.Recording()) {
        if (guid != nullptr) {
            call.Arguments()["guid"] = GuidText(*guid);
        }
        if (name != nullptr) {
            call.Arguments()["name"] = Utf8(*name);
        }
        DescribeContent(call.Arguments(), content);
    }
    if (std::optional<GSErrCode> answer = call.EarlyAnswer()) {
        return call.Finish(*answer);
    }
    if (guid == nullptr || name == nullptr || content == nullptr) {
        return call.Finish(GSErr::BadParameter);
    }
    const GSErrCode result = world.objects.Modify(*guid, *name, *content) ? NoError : GSErr::NotFound;
    WriteObjectEvent(world, "modify", name, guid, content, result);
    return call.Finish(result);
}

GSErrCode HostServices::ObjectFind(AddOnToken token, const GS::UniString* name, GS::Guid* guid) {
    HostCallRecord call(*this, world, TableOperation::ObjectFind, token);
    if (name != nullptr && call.Recording()) {
        call.Arguments()["name"] = Utf8(*name);
    }
    if (std::optional<GSErrCode> answer = call.EarlyAnswer()) {
        return call.Finish(*answer);
    }
    if (name == nullptr || guid == nullptr) {
        return call.Finish(GSErr::BadParameter);
    }
    *guid = world.objects.FindByName(*name);
    if (call.Recording()) {
        call.Arguments()["guid"] = GuidText(*guid);
    }
    WriteObjectEvent(world, "find", name, guid, nullptr, NoError);
    return call.Finish(NoError);
}

} // namespace HostSim
