#include "Tools/RegistryTool.hpp"

#include "DebugOutput.hpp"
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

} // namespace

int RunRegistryRequest(const RegistryRequest& request, std::ostream& out, std::ostream& err) {
    std::string folderError;
    if (!PrepareRegistryFolder(request.home, folderError)) {
        err << "hostsim registry: " << folderError << std::endl;
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
    err << "hostsim registry: " << ActionWord(request.action) << " failed (" << FormatResultCodeHex(result)
        << ")";
    if (!diagnostic.IsEmpty()) {
        err << ": " << diagnostic.ToUTF8().Get();
    } else if (request.action == RegistryAction::Get) {
        err << ": no string value \"" << request.valueName << "\" in " << request.key.path;
    }
    err << std::endl;
    return 1;
}

} // namespace HostSim
