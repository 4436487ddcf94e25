#include "Session/EntryPointCheck.hpp"

#include "Record/ReadableText.hpp"

#include <cstring>

namespace HostSim {

namespace {

bool AllZero(const UInt8* bytes, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        if (bytes[i] != 0) {
            return false;
        }
    }
    return true;
}

std::string MissingEntryPoints(const EntryPointRecord& record) {
    std::string missing;
    auto note = [&missing](bool absent, const char* name) {
        if (absent) {
            missing += missing.empty() ? name : std::string(", ") + name;
        }
    };
    note(record.describe == nullptr, "describe");
    note(record.registerInterface == nullptr, "register");
    note(record.start == nullptr, "start");
    note(record.release == nullptr, "release");
    return missing;
}

Json DescribeRecord(const EntryPointBytes& bytes, const EntryPointCheck& check) {
    const EntryPointRecord& record = check.record;
    Json fields;
    fields["bytes"] = HexOf(bytes.data(), bytes.size());
    fields["interfaceVersion"] = FormatResultCodeHex(static_cast<GSErrCode>(record.interfaceVersion));
    fields["describe"] = AddressText(reinterpret_cast<const void*>(record.describe));
    fields["register"] = AddressText(reinterpret_cast<const void*>(record.registerInterface));
    fields["start"] = AddressText(reinterpret_cast<const void*>(record.start));
    fields["release"] = AddressText(reinterpret_cast<const void*>(record.release));
    fields["platformCode"] = record.platformCode;
    fields["reservedZero"] =
        record.reserved0 == 0 &&
        AllZero(bytes.data() + offsetof(EntryPointRecord, reserved1), sizeof record.reserved1);
    fields["usable"] = check.IsUsable();
    if (!check.IsUsable()) {
        fields["fault"] = check.fault;
    }
    return fields;
}

} // namespace

EntryPointCheck CheckEntryPointRecord(const EntryPointBytes& bytes, bool withFields) {
    EntryPointCheck check;
    std::memcpy(&check.record, bytes.data(), bytes.size());
    const EntryPointRecord& record = check.record;
    if (record.interfaceVersion != EntryPointRecordVersion) {
        check.fault = "entry-point record starts with " +
                      FormatResultCodeHex(static_cast<GSErrCode>(record.interfaceVersion)) + ", expected " +
                      FormatResultCodeHex(static_cast<GSErrCode>(EntryPointRecordVersion));
    } else if (std::string missing = MissingEntryPoints(record); !missing.empty()) {
        check.fault = "entry-point record lacks " + missing;
    }
    if (withFields) {
        check.fields = DescribeRecord(bytes, check);
    }
    return check;
}

} // namespace HostSim
