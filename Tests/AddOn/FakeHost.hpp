#pragma once

#include "AddOnInterface.hpp"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <type_traits>
#include <vector>

// One call that the add-on made through the host function table.
struct HostCall {
    std::size_t slot = 0;                  // byte offset of the slot in the table
    AddOnToken token = nullptr;            // always null for the menu registration, which takes none
    std::vector<std::uint64_t> arguments;  // in the order passed, after the token
    std::vector<unsigned char> menuRecord; // the 32 bytes handed to the menu registration
};

// An argument as the fake host records it: integers sign-extended, pointers by address.
template <typename T>
std::uint64_t AsArgument(T value) {
    if constexpr (std::is_pointer_v<T>) {
        return static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(value));
    } else {
        return static_cast<std::uint64_t>(static_cast<std::int64_t>(value));
    }
}

// A host function table whose nine operations record every call and answer what the test asks.
// One instance at a time; it is what the slots report to while it lives.
class FakeHost {
public:
    FakeHost();
    ~FakeHost();
    FakeHost(const FakeHost&) = delete;
    FakeHost& operator=(const FakeHost&) = delete;

    const void* Table() const { return slots.data(); }
    void EmptySlot(std::size_t offset);
    void AnswerWith(std::size_t offset, GSErrCode result) { results[offset] = result; }
    // Lets `responder` do the slot's work and give its answer (it sees the call as recorded).
    using Responder = std::function<GSErrCode(const HostCall&)>;
    void RespondWith(std::size_t offset, Responder responder) { responders[offset] = std::move(responder); }

    const std::vector<HostCall>& Calls() const { return calls; }

    // Used by the slot functions.
    static FakeHost& Current();
    GSErrCode Record(HostCall call);

private:
    std::array<void*, HostFunctionSlotCount> slots{};
    std::map<std::size_t, GSErrCode> results;
    std::map<std::size_t, Responder> responders;
    std::vector<HostCall> calls;
};

// Slot offsets as the host's documentation gives them.
namespace FakeSlot {
constexpr std::size_t MenuRegister = 0x28;
constexpr std::size_t MenuHandlerInstall = 0xD0;
constexpr std::size_t Environment = 0x280;
constexpr std::size_t Automate = 0x298;
constexpr std::size_t CommandCall = 0xAC8;
constexpr std::size_t ObjectCreate = 0x1048;
constexpr std::size_t ObjectRead = 0x1058;
constexpr std::size_t ObjectModify = 0x1060;
constexpr std::size_t ObjectFind = 0x1080;
} // namespace FakeSlot
