#pragma once

#include "GSTypes.hpp"
#include "TranslatorFile.hpp"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace SAF {

// The host's SAF add-on: it owns the translators, kept in DATA/SAF/Translators.json, and answers the
// command calls 'LADA', 'SSTD', 'ISID', 'GSTD', 'GTRS', 'FTRP' and 'FADA'. The host routes calls
// addressed to SAF::ModuleId here. Strings and arrays it fills are the host's own types, written
// through GS::MemoryManager, so the caller may free them.
class SafAddOn {
public:
    // Reads the store; on a first run (no file) writes the default translators. A store that cannot
    // be read is kept as it is, never overwritten, and StoreError says why; every 'LADA' then fails.
    explicit SafAddOn(const std::filesystem::path& dataFolder);
    ~SafAddOn();
    SafAddOn(const SafAddOn&) = delete;
    SafAddOn& operator=(const SafAddOn&) = delete;

    static std::filesystem::path StorePath(const std::filesystem::path& dataFolder);
    const std::string& StoreError() const { return storeError; }
    const std::vector<Translator>& Translators() const { return translators; }

    // Makes `command` answer `code` from now on, before it does anything.
    void FailCommand(UInt32 command, GSErrCode code) { failures[command] = code; }

    // Runs one command for add-on `caller`. `details` receives what the call did, for the host's
    // transcript (handle, name, count, reason).
    GSErrCode Call(UInt32 command, UInt32 version, void* parameter, void* result, const std::string& caller,
                   nlohmann::ordered_json& details);

    // The handles 'LADA' gave out that no 'FADA' took back, with the add-on that opened each.
    struct OpenHandle {
        const void* handle;
        std::string openedBy;
    };
    std::vector<OpenHandle> OpenHandles() const;

private:
    struct DataSession {
        std::string openedBy;
    };

    GSErrCode Open(void* parameter, const std::string& caller, nlohmann::ordered_json& details);
    GSErrCode Close(void* parameter, nlohmann::ordered_json& details);
    GSErrCode Select(void* handle, void* result, nlohmann::ordered_json& details);
    GSErrCode GetSelected(void* handle, void* result, nlohmann::ordered_json& details);
    GSErrCode GetTranslators(void* parameter, void* handle, nlohmann::ordered_json& details);
    GSErrCode ShowDetails(void* result, nlohmann::ordered_json& details);
    GSErrCode FillPopUp(void* parameter, void* handle, nlohmann::ordered_json& details);
    bool IsOpen(const void* handle) const { return sessions.contains(handle); }

    std::vector<Translator> translators;
    std::string storeError;
    std::optional<std::size_t> selected;
    std::map<const void*, std::unique_ptr<DataSession>> sessions;
    std::map<UInt32, GSErrCode> failures;
};

} // namespace SAF
