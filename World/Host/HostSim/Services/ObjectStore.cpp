#include "Services/ObjectStore.hpp"

#include "Handles.hpp"

#include <utility>

namespace HostSim {

std::vector<char> ObjectStore::CopyHandle(GSConstHandle content) {
    const GSSize size = BMGetHandleSize(content);
    if (content == nullptr || *content == nullptr || size <= 0) {
        return {};
    }
    return std::vector<char>(*content, *content + size);
}

GS::Guid ObjectStore::Create(const GS::UniString& name, GSConstHandle content) {
    GS::Guid guid = GS::Guid::Generate();
    objects.push_back({guid, name, CopyHandle(content)});
    return guid;
}

const ObjectStore::Object* ObjectStore::Find(const GS::Guid& guid) const {
    for (const Object& object : objects) {
        if (object.guid == guid) {
            return &object;
        }
    }
    return nullptr;
}

GS::Guid ObjectStore::FindByName(const GS::UniString& name) const {
    for (const Object& object : objects) {
        if (object.name == name) {
            return object.guid;
        }
    }
    return GS::Guid();
}

bool ObjectStore::Modify(const GS::Guid& guid, const GS::UniString& name, GSConstHandle content) {
    for (Object& object : objects) {
        if (object.guid == guid) {
            object.name = name;
            object.content = CopyHandle(content);
            return true;
        }
    }
    return false;
}

} // namespace HostSim
