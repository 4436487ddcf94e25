#pragma once

#include "GSTypes.hpp"
#include "Guid.hpp"
#include "UniString.hpp"

#include <string>
#include <utility>
#include <vector>

namespace HostSim {

// The add-on objects of the open project: named records, each with a GUID and opaque content. The
// store keeps its own copies; what it hands out (names, handles) belongs to the receiver. The project
// document reads and writes them.
class ObjectStore {
public:
    struct Object {
        GS::Guid guid;
        GS::UniString name;
        std::vector<char> content;
    };

    // A new object with a copy of `content`'s bytes (a null handle is empty content).
    GS::Guid Create(const GS::UniString& name, GSConstHandle content);
    // Null when there is none.
    const Object* Find(const GS::Guid& guid) const;
    // The GUID of the first object named `name` (case-sensitive), or the null GUID.
    GS::Guid FindByName(const GS::UniString& name) const;
    // False when there is no such object.
    bool Modify(const GS::Guid& guid, const GS::UniString& name, GSConstHandle content);

    const std::vector<Object>& All() const { return objects; }
    void Load(std::vector<Object> loaded) { objects = std::move(loaded); }

    static std::vector<char> CopyHandle(GSConstHandle content);

private:
    std::vector<Object> objects;
};

} // namespace HostSim
