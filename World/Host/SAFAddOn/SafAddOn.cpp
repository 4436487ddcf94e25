#include "SafAddOn.hpp"

#include "AddressText.hpp"
#include "Array.hpp"
#include "CarefulFile.hpp"
#include "JsonFault.hpp"
#include "SafCommands.hpp"
#include "SafDialogs.hpp"

#include <cstdint>

namespace SAF {

namespace {

using Json = nlohmann::ordered_json;

// Handles are written as hostsim writes every address in the transcript, so that a handle the SAF
// add-on reports and one hostsim reports compare equal.
std::string HandleText(const void* handle) {
    return HostText::AddressText(handle);
}

std::string Utf8(const GS::UniString& text) {
    return Utf8Of(text);
}

std::optional<UInt32> VersionOf(UInt32 command) {
    switch (command) {
    case Command::OpenData:
    case Command::CloseData:
        return BracketVersion;
    case Command::SelectTranslator:
    case Command::ShowDetails:
    case Command::GetSelected:
    case Command::GetTranslators:
    case Command::FillPopUp:
        return WorkingVersion;
    default:
        return std::nullopt;
    }
}

} // namespace

std::filesystem::path SafAddOn::StorePath(const std::filesystem::path& dataFolder) {
    return dataFolder / "SAF" / "Translators.json";
}

SafAddOn::SafAddOn(const std::filesystem::path& dataFolder) {
    const std::filesystem::path path = StorePath(dataFolder);
    const std::u8string name = path.u8string();
    const std::string utf8Path(name.begin(), name.end());
    std::string text;
    GS::CarefulFile::ReadOutcome read = GS::CarefulFile::ReadRegularFile(path, text, storeError);
    if (read == GS::CarefulFile::ReadOutcome::Missing) {
        // Two hosts starting on a fresh data folder: the second finds the first one's store.
        std::error_code ignored;
        std::filesystem::create_directories(path.parent_path(), ignored);
        GS::CarefulFile::UpdateLock lock;
        if (!lock.Acquire(path, storeError)) {
            storeError = "the SAF translator store cannot be made: " + storeError;
            return;
        }
        read = GS::CarefulFile::ReadRegularFile(path, text, storeError);
        if (read == GS::CarefulFile::ReadOutcome::Missing) {
            std::vector<Translator> defaults = DefaultTranslators();
            if (GS::CarefulFile::ReplaceFile(path, FormatTranslatorFile(defaults), storeError)) {
                translators = std::move(defaults);
                selected = 0;
            } else {
                storeError = "the SAF translator store cannot be made: " + storeError;
            }
            return;
        }
    }
    if (read == GS::CarefulFile::ReadOutcome::Refused) {
        storeError = "the SAF translator store " + utf8Path + " is not usable: " + storeError;
    } else if (Result<std::vector<Translator>> parsed = ParseTranslatorFile(text); !parsed) {
        storeError = "the SAF translator store " + utf8Path +
                     " is not usable and was left as it is: " + parsed.Error();
    } else {
        translators = std::move(parsed).Value();
    }
    if (!translators.empty()) {
        selected = 0;
    }
}

SafAddOn::~SafAddOn() = default;

std::vector<SafAddOn::OpenHandle> SafAddOn::OpenHandles() const {
    std::vector<OpenHandle> open;
    for (const auto& [handle, session] : sessions) {
        open.push_back({handle, session->openedBy});
    }
    return open;
}

GSErrCode SafAddOn::Call(UInt32 command, UInt32 version, void* parameter, void* result,
                         const std::string& caller, Json& details) {
    const std::optional<UInt32> expected = VersionOf(command);
    if (!expected) {
        details["reason"] = "unknown command";
        return Err::UnknownCommand;
    }
    if (version != *expected) {
        details["reason"] =
            "version " + std::to_string(version) + " where " + std::to_string(*expected) + " is expected";
        return Err::WrongVersion;
    }
    if (auto failure = failures.find(command); failure != failures.end()) {
        details["injected"] = true;
        // The caller did give the handle back; only the answer is made to fail. Keeping the session
        // open would report at exit a handle "never given back", blaming the caller for our injection.
        if (command == Command::CloseData) {
            Json ignored;
            static_cast<void>(Close(parameter, ignored));
        }
        return failure->second;
    }
    switch (command) {
    case Command::OpenData:
        return Open(parameter, caller, details);
    case Command::CloseData:
        return Close(parameter, details);
    case Command::SelectTranslator:
        return Select(parameter, result, details);
    case Command::GetSelected:
        return GetSelected(parameter, result, details);
    case Command::GetTranslators:
        return GetTranslators(parameter, result, details);
    case Command::ShowDetails:
        return ShowDetails(result, details);
    default:
        return FillPopUp(parameter, result, details);
    }
}

GSErrCode SafAddOn::ShowDetails(void* result, Json& details) {
    // 'ISID' receives the caller's handle variable, not the handle.
    const void* handle = result != nullptr ? *static_cast<void**>(result) : nullptr;
    details["handle"] = HandleText(handle);
    if (!IsOpen(handle)) {
        details["reason"] = "not an open handle";
        return Err::UnknownHandle;
    }
    const std::optional<std::size_t> chosen = ShowDetailsDialog(translators, selected);
    details["accepted"] = chosen.has_value();
    if (chosen) {
        selected = chosen;
        details["name"] = Utf8(translators[*chosen].name);
    }
    return NoError;
}

GSErrCode SafAddOn::FillPopUp(void* parameter, void* handle, Json& details) {
    details["handle"] = HandleText(handle);
    if (!IsOpen(handle)) {
        details["reason"] = "not an open handle";
        return Err::UnknownHandle;
    }
    if (parameter == nullptr) {
        details["reason"] = "no pop-up to fill";
        return GSErr::BadParameter;
    }
    SAF::FillPopUp(*static_cast<DG::PopUp*>(parameter), translators, selected);
    details["count"] = translators.size();
    return NoError;
}

GSErrCode SafAddOn::Open(void* parameter, const std::string& caller, Json& details) {
    if (parameter == nullptr) {
        details["reason"] = "no handle variable";
        return GSErr::BadParameter;
    }
    if (!storeError.empty()) {
        details["reason"] = storeError;
        return Err::StoreUnreadable;
    }
    auto session = std::make_unique<DataSession>();
    session->openedBy = caller;
    void* handle = session.get();
    sessions.emplace(handle, std::move(session));
    *static_cast<void**>(parameter) = handle;
    details["handle"] = HandleText(handle);
    return NoError;
}

GSErrCode SafAddOn::Close(void* parameter, Json& details) {
    if (parameter == nullptr) {
        details["reason"] = "no handle variable";
        return GSErr::BadParameter;
    }
    void*& handle = *static_cast<void**>(parameter);
    details["handle"] = HandleText(handle);
    auto session = sessions.find(handle);
    if (session == sessions.end()) {
        details["reason"] = "not an open handle";
        return Err::UnknownHandle;
    }
    sessions.erase(session);
    handle = nullptr;
    return NoError;
}

GSErrCode SafAddOn::Select(void* handle, void* result, Json& details) {
    details["handle"] = HandleText(handle);
    if (!IsOpen(handle)) {
        details["reason"] = "not an open handle";
        return Err::UnknownHandle;
    }
    if (result == nullptr) {
        details["reason"] = "no name";
        return GSErr::BadParameter;
    }
    const auto& name = *static_cast<const GS::UniString*>(result);
    details["name"] = Utf8(name);
    for (std::size_t index = 0; index < translators.size(); ++index) {
        if (translators[index].name.IsEqual(name)) {
            selected = index;
            return NoError;
        }
    }
    details["reason"] = "no translator has that name";
    return Err::UnknownTranslator;
}

GSErrCode SafAddOn::GetSelected(void* handle, void* result, Json& details) {
    details["handle"] = HandleText(handle);
    if (!IsOpen(handle)) {
        details["reason"] = "not an open handle";
        return Err::UnknownHandle;
    }
    if (result == nullptr) {
        details["reason"] = "no string to fill";
        return GSErr::BadParameter;
    }
    if (!selected) {
        details["reason"] = "there are no translators";
        return Err::NoTranslatorSelected;
    }
    *static_cast<GS::UniString*>(result) = translators[*selected].name;
    details["name"] = Utf8(translators[*selected].name);
    return NoError;
}

GSErrCode SafAddOn::GetTranslators(void* parameter, void* handle, Json& details) {
    details["handle"] = HandleText(handle);
    if (!IsOpen(handle)) {
        details["reason"] = "not an open handle";
        return Err::UnknownHandle;
    }
    if (parameter == nullptr) {
        details["reason"] = "no list to fill";
        return GSErr::BadParameter;
    }
    auto& names = *static_cast<GS::Array<GS::UniString>*>(parameter);
    names.Clear();
    for (const Translator& translator : translators) {
        names.Push(translator.name);
    }
    details["count"] = translators.size();
    return NoError;
}

} // namespace SAF
