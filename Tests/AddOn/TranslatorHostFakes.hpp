#pragma once

#include "Array.hpp"
#include "FakeHost.hpp"
#include "Guid.hpp"
#include "UniString.hpp"

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

// The add-on objects of an open project, behind the fake table's four object slots. Like the host,
// it copies what it is given and hands out new handles.
class FakeProjectObjects {
public:
    struct Object {
        GS::Guid guid;
        GS::UniString name;
        std::vector<char> content;
    };

    explicit FakeProjectObjects(FakeHost& host);

    // Stores an object directly, as a project written elsewhere would hold it.
    GS::Guid Add(const GS::UniString& name, std::vector<char> content);
    std::size_t CountNamed(const GS::UniString& name) const;

    std::vector<Object> objects;
    GSErrCode findAnswer = NoError;  // non-zero: Find answers it and touches nothing
    GSErrCode readAnswer = NoError;  // non-zero: Read answers it and touches nothing
    bool readWithoutContent = false; // Read succeeds but hands out no handle

private:
    GSErrCode Find(const HostCall& call);
    GSErrCode Read(const HostCall& call);
    GSErrCode Create(const HostCall& call);
    GSErrCode Modify(const HostCall& call);
};

// One command call as the SAF add-on saw it.
struct SafCall {
    AddOnModuleId target{};
    std::string command; // the four letters
    UInt32 version = 0;
    void* parameter = nullptr;
    void* result = nullptr;
    bool silent = false;
    GSErrCode answer = NoError;
};

// The host's SAF add-on behind the fake table's command call slot: translators, a selection, handles.
class FakeSafAddOn {
public:
    explicit FakeSafAddOn(FakeHost& host);

    std::vector<GS::UniString> translators;
    std::size_t selected = 0;
    std::map<std::string, GSErrCode> failures; // command -> the code it answers, doing nothing
    // The user's doing in the details step ('ISID'), e.g. picking another translator.
    std::function<void(FakeSafAddOn&)> duringDetails;
    bool detailsReplacesHandle = false; // 'ISID' leaves a new handle in the caller's variable
    // What 'GSTD' reports instead of the selected translator, e.g. one that is in no list.
    std::optional<GS::UniString> reportedSelection;
    // Fails the n-th call (from 1) whatever its command, with GSErr::Generic.
    std::size_t failCallNumber = 0;

    const std::vector<SafCall>& Calls() const { return calls; }
    std::vector<std::string> Commands() const;
    const std::set<void*>& OpenHandles() const { return open; }
    // Every handle handed out, in order ('LADA' and replacing 'ISID').
    const std::vector<void*>& IssuedHandles() const { return issued; }
    // Empty when every successful 'LADA' was followed by exactly one 'FADA', nothing but a new 'LADA'
    // followed a failed one, and nothing was called outside a bracket; otherwise what broke.
    std::string BracketFault() const;

private:
    GSErrCode Answer(SafCall& call);
    void* NewHandle();

    std::vector<SafCall> calls;
    std::set<void*> open;
    std::vector<void*> issued;
    std::uintptr_t nextHandle = 0x5AF0;
};

std::vector<char> SerializedText(const GS::UniString& text);
