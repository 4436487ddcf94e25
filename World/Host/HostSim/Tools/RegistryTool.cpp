#include "Tools/RegistryTool.hpp"

#include "CarefulFile.hpp"
#include "DebugOutput.hpp"
#include "ProgramCommandLine.hpp"
#include "Record/ReadableText.hpp"
#include "Session/DataFolder.hpp"
#include "UniString.hpp"

namespace HostSim {

namespace {

GSErrCode ReadString(const RegistryRequest& request, std::string& text) {
    GSPref::IRoot* root = GSPref::OpenRootKey(request.key.domain, request.key.path.c_str());
    if (root == nullptr) {
        return GSErr::NotFound;
    }
    GS::UniString value;
    const GSErrCode result = root->ReadStringValue("", request.valueName.c_str(), value, GS::UniString(), 0);
    GSPref::CloseRootKey(&root);
    text = value.ToUTF8().Get();
    return result;
}

const char* ActionWord(RegistryAction action) {
    switch (action) {
    case RegistryAction::SetString:
        return "set-string";
    case RegistryAction::SetDWord:
        return "set-dword";
    case RegistryAction::DeleteKey:
        return "delete-key";
    case RegistryAction::DeleteValue:
        return "delete-value";
    case RegistryAction::Get:
        return "get";
    }
    return "?";
}

// The store prints why a file is unusable on the debug output as well; the tool reports that reason
// once, with the request that failed, so it collects the debug text instead of letting it through.
class CollectedDebugOutput {
public:
    CollectedDebugOutput() { GS::SetDebugSink(Collect, &text); }
    ~CollectedDebugOutput() { GS::SetDebugSink(nullptr, nullptr); }
    CollectedDebugOutput(const CollectedDebugOutput&) = delete;
    CollectedDebugOutput& operator=(const CollectedDebugOutput&) = delete;

    const std::string& Text() const { return text; }

private:
    static void Collect(const char* utf8Text, void* context) {
        *static_cast<std::string*>(context) += utf8Text;
    }
    std::string text;
};

constexpr CommandLine::ProgramText Program{
    "hostsim registry",
    "usage: hostsim registry [--home DIR] ACTION KEY ...\n"
    "The host's registry administration: reads and changes the registry of a data folder\n"
    "(DIR/Registry; default ./HostSimHome), as an installer would register an application.\n"
    "actions:\n"
    "  set-string KEY NAME TEXT     write the string value NAME of KEY (keys are made as needed)\n"
    "  set-dword KEY NAME NUMBER    write the 32-bit value NAME (decimal or 0x hex)\n"
    "  delete-key KEY               delete KEY and everything below it\n"
    "  delete-value KEY NAME        delete the value NAME of KEY\n"
    "  get KEY NAME                 print the string value NAME of KEY\n"
    "KEY: HKEY_LOCAL_MACHINE\\PATH or HKEY_CURRENT_USER\\PATH (HKLM, HKCU; any case), e.g.\n"
    "  'HKEY_LOCAL_MACHINE\\SOFTWARE\\VELD\\Installer\\VeldEngineer\\2025'\n"
    "options: --home DIR, -h/--help, --version\n"
    "exit codes: 0 done, 1 the action failed (the reason is printed), 64 a wrong command line\n"};

} // namespace

int RunRegistryCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    if (const auto request = CommandLine::StandardRequest(arguments); request != CommandLine::Request::Run) {
        return CommandLine::Answer(request, Program, out);
    }
    const Result<RegistryRequest> parsed = ParseRegistryRequest(arguments);
    if (!parsed) {
        return CommandLine::Refuse(Program, parsed.Error(), err);
    }
    return RunRegistryRequest(parsed.Value(), out, err);
}

int RunRegistryRequest(const RegistryRequest& request, std::ostream& out, std::ostream& err) {
    if (const Result<> prepared = PrepareRegistryFolder(request.home); !prepared) {
        err << "hostsim registry: " << prepared.Error() << std::endl;
        return 1;
    }
    const GSPref::RootKeyDomain domain = request.key.domain;
    const char* key = request.key.path.c_str();
    const char* name = request.valueName.c_str();
    GSErrCode result = NoError;
    std::string found;
    CollectedDebugOutput debugOutput;
    switch (request.action) {
    case RegistryAction::SetString:
        result = GSPref::WriteStringValue(domain, key, name, GS::UniString(request.text.c_str(), CC_UTF8));
        break;
    case RegistryAction::SetDWord:
        result = GSPref::WriteDWordValue(domain, key, name, request.number);
        break;
    case RegistryAction::DeleteKey:
        result = GSPref::DeleteKey(domain, key);
        break;
    case RegistryAction::DeleteValue:
        result = GSPref::DeleteValue(domain, key, name);
        break;
    case RegistryAction::Get:
        result = ReadString(request, found);
        break;
    }
    const GS::UniString diagnostic = GSPref::GetStoreDiagnostic(domain);
    if (diagnostic.IsEmpty() || result == NoError) {
        err << debugOutput.Text() << std::flush;
    }
    if (result == NoError) {
        if (request.action == RegistryAction::Get) {
            out << found << std::endl;
        }
        return 0;
    }
    err << "hostsim registry: " << ActionWord(request.action) << " failed: ";
    if (!diagnostic.IsEmpty()) {
        err << diagnostic.ToUTF8().Get() << " (" << DescribeResultCode(result) << ")";
    } else if (const std::string refusal =
                   request.action == RegistryAction::Get
                       ? std::string()
                       : GS::CarefulFile::WriteRefusal(HiveFileOf(request.home, domain));
               !refusal.empty()) {
        // A hive that may not be written (marked read-only, or its folder) is named with the reason.
        err << refusal << " (" << DescribeResultCode(result) << ")";
    } else if (request.action == RegistryAction::Get) {
        err << "no string value \"" << request.valueName << "\" in " << request.key.path << " ("
            << DescribeResultCode(result) << ")";
    } else {
        err << DescribeResultCode(result);
    }
    err << std::endl;
    return 1;
}

} // namespace HostSim
