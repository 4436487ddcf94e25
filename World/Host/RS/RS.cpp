#include "RS.hpp"

#include "CallDetails.hpp"
#include "CallMonitor.hpp"
#include "ModuleResourceReader.hpp"
#include "ResFormat/StringListFormat.hpp"
#include "ResourceModuleTable.hpp"
#include "TextEncoding.hpp"

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace {

using GS::CallDetails::Quote;

// Built when RS loads, so before any add-on that uses it, and so destroyed after that add-on's
// own statics, whose unloading may still remove its resource module.
RS::ResourceModuleTable openModules;

std::string CodeText(GSErrCode code) {
    return " code=" + std::to_string(code);
}

// The module's file name, without its folder (folders differ between machines and runs).
std::string ModuleFileName(HINSTANCE module) {
    constexpr DWORD capacity = 4096;
    const std::unique_ptr<WCHAR[]> path(new WCHAR[capacity]); // filled by the call: no need to clear it
    const DWORD length = GetModuleFileNameW(module, path.get(), capacity);
    const std::u16string_view full(reinterpret_cast<const char16_t*>(path.get()), length);
    const std::size_t slash = full.find_last_of(u"/\\");
    const std::u16string_view name = slash == std::u16string_view::npos ? full : full.substr(slash + 1);
    return GS::TextEncoding::EncodeUtf8Lossy(name.data(), name.size());
}

// Where a lookup was asked for, as the host's diagnostics name it: the source file's name without
// its folders (they differ between machines and builds), and the line.
std::string CallerText(const GS::SourceLocation& location) {
    const std::string_view file = location.file != nullptr ? location.file : "";
    const std::size_t slash = file.find_last_of("/\\");
    const std::string_view name = slash == std::string_view::npos ? file : file.substr(slash + 1);
    return std::string(name) + ":" + std::to_string(location.line);
}

std::string StringCallDetails(const GS::SourceLocation& location, GSResID listId, Int32 index,
                              GSResModule module, ResStringType type) {
    return "list=" + std::to_string(listId) + " index=" + std::to_string(index) +
           " module=" + std::to_string(module) + " type=" + std::to_string(static_cast<Int32>(type)) +
           " at=" + CallerText(location);
}

// Text `index` of list `listId`: nothing for a missing module, list or index, or a malformed list.
std::optional<std::string_view> FindIndexedText(GSResID listId, Int32 index, GSResModule module) {
    const std::optional<std::span<const UInt8>> bytes =
        openModules.Find(module, ResFormat::StringListTypeName, listId);
    if (!bytes || index < 1) {
        return std::nullopt;
    }
    const ResFormat::StringList list = ResFormat::ParseStringList(*bytes);
    if (static_cast<UInt32>(index) > list.texts.size()) {
        return std::nullopt;
    }
    return list.texts[static_cast<std::size_t>(index) - 1];
}

// Both forms of RSGetIndString_ParamAdapter: reports the call, then looks the text up unless the
// monitor makes it fail.
std::optional<std::string_view> LookUpReportedText(const GS::SourceLocation& location, GSResID listId,
                                                   Int32 index, GSResModule module, ResStringType type) {
    constexpr const char* operation = "RSGetIndString_ParamAdapter";
    const bool monitored = GS::IsCallMonitorActive();
    const GSErrCode answer =
        monitored
            ? GS::ReportCall(operation, StringCallDetails(location, listId, index, module, type).c_str())
            : NoError;
    const std::optional<std::string_view> text =
        answer == NoError ? FindIndexedText(listId, index, module) : std::nullopt;
    if (monitored) {
        const std::string result =
            text ? "found=true text=" + Quote(std::string(*text))
                 : "found=false" + (answer != NoError ? CodeText(answer) : std::string());
        GS::ReportResult(operation, result.c_str());
    }
    return text;
}

GS::UniString ToUniString(std::string_view text) {
    return GS::UniString(text.data(), static_cast<UIndex>(text.size()), CC_Default);
}

} // namespace

GSResModule RSInitModuleImageCache(HINSTANCE module) {
    constexpr const char* operation = "RSInitModuleImageCache";
    const bool monitored = GS::IsCallMonitorActive();
    const GSErrCode answer =
        monitored ? GS::ReportCall(operation, ("file=" + Quote(ModuleFileName(module))).c_str()) : NoError;
    GSResModule opened = InvalidResModule;
    if (answer == NoError) {
        if (std::unique_ptr<RS::ModuleResourceSource> source = RS::IdentifyModuleImage(module)) {
            opened = openModules.Add(std::move(source));
        }
    }
    if (monitored) {
        const std::string result =
            "module=" + std::to_string(opened) + (answer != NoError ? CodeText(answer) : std::string());
        GS::ReportResult(operation, result.c_str());
    }
    return opened;
}

void RSRemoveModuleImageCache(GSResModule module) {
    constexpr const char* operation = "RSRemoveModuleImageCache";
    const bool monitored = GS::IsCallMonitorActive();
    const GSErrCode answer =
        monitored ? GS::ReportCall(operation, ("module=" + std::to_string(module)).c_str()) : NoError;
    const bool removed = answer == NoError && openModules.Remove(module);
    if (monitored) {
        const std::string result = std::string("removed=") + (removed ? "true" : "false") +
                                   (answer != NoError ? CodeText(answer) : std::string());
        GS::ReportResult(operation, result.c_str());
    }
}

GS::UniString RSGetIndString_ParamAdapter(const GS::SourceLocation& location, GSResID listId, Int32 index,
                                          GSResModule module, ResStringType type) {
    const std::optional<std::string_view> text = LookUpReportedText(location, listId, index, module, type);
    return text ? ToUniString(*text) : GS::UniString();
}

bool RSGetIndString_ParamAdapter(const GS::SourceLocation& location, GS::UniString* text, GSResID listId,
                                 Int32 index, GSResModule module, ResStringType type) {
    const std::optional<std::string_view> found = LookUpReportedText(location, listId, index, module, type);
    if (text != nullptr) {
        *text = found ? ToUniString(*found) : GS::UniString();
    }
    return found.has_value() && text != nullptr;
}

namespace {

const UInt8* Answer(const std::optional<std::span<const UInt8>>& bytes, UInt32* size) {
    if (size != nullptr) {
        *size = bytes ? static_cast<UInt32>(bytes->size()) : 0;
    }
    return bytes ? bytes->data() : nullptr;
}

} // namespace

const UInt8* RSFindResource(GSResModule module, const char* type, Int32 number, UInt32* size) {
    return Answer(type != nullptr ? openModules.Find(module, type, number) : std::nullopt, size);
}

const UInt8* RSFindWindowsResource(GSResModule module, UInt16 type, const char16_t* name, Int32 number,
                                   UInt32* size) {
    std::optional<std::span<const UInt8>> bytes;
    if (name != nullptr) {
        bytes = openModules.Find(module, ResFormat::ResName::Ordinal(type), ResFormat::ResName::Named(name));
    } else if (number >= 0 && number <= 0xFFFF) {
        bytes = openModules.Find(module, ResFormat::ResName::Ordinal(type),
                                 ResFormat::ResName::Ordinal(static_cast<UInt16>(number)));
    }
    return Answer(bytes, size);
}
