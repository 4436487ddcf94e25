#pragma once

#include "EntryPointRecord.hpp"
#include "Record/Transcript.hpp"

#include <array>
#include <string>

namespace HostSim {

using EntryPointBytes = std::array<UInt8, EntryPointRecordSize>;

// What the host makes of the 120 bytes an add-on wrote: the decoded record, and the reason it is
// refused (empty when it is usable). A record is usable when its first word is the interface version
// this host speaks and all four entry points are set; the other fields are reported, not judged.
struct EntryPointCheck {
    EntryPointRecord record{};
    std::string fault;
    Json fields; // for the transcript's "exports" event; empty when not asked for

    bool IsUsable() const { return fault.empty(); }
};

EntryPointCheck CheckEntryPointRecord(const EntryPointBytes& bytes, bool withFields = true);

} // namespace HostSim
