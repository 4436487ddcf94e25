// The Windows module's binary interface, read from its import table: what a host built by
// Microsoft's compiler must offer for the module to load. Every C++ import must carry an MSVC
// decoration that decodes to the host function the add-on means to call, from the host library that
// declares it; the C++ runtime must be the one the host ships (msvcp140, vcruntime140, ucrtbase).
// A changed host signature, an Itanium-decorated name or a runtime DLL the host lacks fails a row.
//
// The names are decoded with llvm-undname, a program of the build machine: the test runs natively,
// on the module that the Windows build made (scripts/test.sh runs it once more after that build).

#include "PeImage.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#ifndef WINDOWS_ADDON_MODULE_PATH
#error "WINDOWS_ADDON_MODULE_PATH names the cross-built module"
#endif
#ifndef LLVM_UNDNAME
#error "LLVM_UNDNAME names the program that decodes MSVC-decorated names"
#endif

namespace {

using PeModule::PeImage;
using PeModule::PeImport;

struct HostImport {
    const char* dll;
    const char* function; // as llvm-undname spells the decoded name
};

// Everything the add-on calls in the host libraries, by the part of the add-on that calls it.
const HostImport ExpectedHostImports[] = {
    // Strings, memory, handles and channels: every part.
    {"GSRoot.dll", "public: __cdecl GS::UniString::UniString(void)"},
    {"GSRoot.dll", "public: __cdecl GS::UniString::UniString(char const *, enum GSCharCode)"},
    {"GSRoot.dll", "public: __cdecl GS::UniString::UniString(class GS::UniString const &)"},
    {"GSRoot.dll", "public: __cdecl GS::UniString::UniString(class GS::UniString &&)"},
    {"GSRoot.dll", "public: __cdecl GS::UniString::~UniString(void)"},
    {"GSRoot.dll",
     "public: class GS::UniString & __cdecl GS::UniString::operator=(class GS::UniString const &)"},
    {"GSRoot.dll", "public: class GS::UniString & __cdecl GS::UniString::operator=(class GS::UniString &&)"},
    {"GSRoot.dll", "public: class GS::UniString & __cdecl GS::UniString::operator+=(char16_t)"},
    {"GSRoot.dll",
     "public: class GS::UniString & __cdecl GS::UniString::Append(class GS::UniString const &)"},
    {"GSRoot.dll", "public: bool __cdecl GS::UniString::IsEqual(class GS::UniString const &, enum "
                   "GS::CaseComparison) const"},
    {"GSRoot.dll",
     "public: class GS::UniString::CStr __cdecl GS::UniString::ToCStr(unsigned int, unsigned int, "
     "enum GSCharCode, char) const"},
    {"GSRoot.dll", "public: char const * __cdecl GS::UniString::CStr::Get(void) const"},
    {"GSRoot.dll", "public: __cdecl GS::UniString::CStr::~CStr(void)"},
    {"GSRoot.dll", "public: char16_t __cdecl GS::UniString::operator[](unsigned int) const"},
    {"GSRoot.dll", "public: static void * __cdecl GS::MemoryManager::Allocate(unsigned __int64)"},
    {"GSRoot.dll", "public: static void __cdecl GS::MemoryManager::Free(void *)"},
    {"GSRoot.dll", "int __cdecl BMPtrToHandle(void const *, char ***, int)"},
    {"GSRoot.dll", "int __cdecl BMGetHandleSize(char const *const *)"},
    {"GSRoot.dll", "int __cdecl BMKillHandle(char ***)"},
    {"GSRoot.dll", "void __cdecl BNFillMemory(void *, int, unsigned char)"},
    {"GSRoot.dll", "void __cdecl DBPrintf(char const *, ...)"},
    // Analysis application locator: the installer keys in the registry, and the host's version.
    {"GSRoot.dll",
     "class GSPref::IRoot * __cdecl GSPref::OpenRootKey(enum GSPref::RootKeyDomain, char const *)"},
    {"GSRoot.dll", "void __cdecl GSPref::CloseRootKey(class GSPref::IRoot **)"},
    {"GSRoot.dll", "public: virtual __cdecl GSPref::SubKeyVisitor::~SubKeyVisitor(void)"},
    {"GSUtils.dll", "public: __cdecl SU::ProductVersionInfo::ProductVersionInfo(void)"},
    {"GSUtils.dll", "public: int __cdecl SU::ProductVersionInfo::GetBuildNum(void) const"},
    {"GSUtils.dll",
     "public: class GS::UniString __cdecl SU::ProductVersionInfo::GetShortVersionString(void) const"},
    // Translator preference store and SAF translator bridge: the project's stored name and the
    // command calls' parameters travel through memory channels; the add-on object's id is a Guid.
    {"GSRoot.dll", "public: __cdecl GS::MemoryIChannel32::MemoryIChannel32(void const *, int, enum "
                   "GS::OwnershipType, char *, int, enum GS::MemoryAllocationMode)"},
    {"GSRoot.dll", "public: virtual __cdecl GS::MemoryIChannel32::~MemoryIChannel32(void)"},
    {"GSRoot.dll",
     "public: __cdecl GS::MemoryOChannel32::MemoryOChannel32(int, int, enum GS::MemoryAllocationMode)"},
    {"GSRoot.dll", "public: virtual __cdecl GS::MemoryOChannel32::~MemoryOChannel32(void)"},
    {"GSRoot.dll",
     "public: char const * __cdecl GS::MemoryOChannel32::GetDestination(enum GS::OwnershipType)"},
    {"GSRoot.dll", "public: int __cdecl GS::IChannel::Read(class GS::UniString &)"},
    {"GSRoot.dll", "public: int __cdecl GS::OChannel::Write(class GS::UniString const &)"},
    {"GSRoot.dll", "public: __cdecl GS::Guid::Guid(void)"},
    {"GSRoot.dll", "public: bool __cdecl GS::Guid::IsNull(void) const"},
    {"GSRoot.dll", "public: bool __cdecl GS::Guid::operator==(class GS::Guid const &) const"},
    // Open command: the export folder and workbook path, the file checks, the launcher.
    {"InputOutput.dll", "public: __cdecl IO::Location::Location(void)"},
    {"InputOutput.dll", "public: __cdecl IO::Location::Location(class GS::UniString const &)"},
    {"InputOutput.dll", "public: int __cdecl IO::Location::AppendToLocal(class IO::Name const &)"},
    {"InputOutput.dll", "public: int __cdecl IO::Location::ToPath(class GS::UniString *) const"},
    {"InputOutput.dll", "public: bool __cdecl IO::Location::IsLegalInNativeFileSystem(void) const"},
    {"InputOutput.dll", "public: __cdecl IO::Name::Name(char const *)"},
    {"InputOutput.dll", "public: __cdecl IO::Name::Name(class GS::UniString const &)"},
    {"InputOutput.dll",
     "public: __cdecl IO::Folder::Folder(class IO::Location const &, enum IO::OnNotFound)"},
    {"InputOutput.dll",
     "public: __cdecl IO::File::File(class IO::Folder const &, class IO::Name const &, enum IO::OnNotFound)"},
    {"InputOutput.dll", "public: static class IO::Process::ApplicationLauncher & __cdecl "
                        "IO::Process::ApplicationLauncher::Instance(void)"},
    {"InputOutput.dll",
     "public: int __cdecl IO::Process::ApplicationLauncher::Launch(class IO::Location const &, "
     "class GS::Array<class GS::UniString> const &, enum IO::Process::LaunchMode, enum "
     "IO::Process::LaunchOption)"},
    {"GSUtils.dll", "bool __cdecl FileExists(class IO::Location const &)"},
    {"GSUtils.dll", "bool __cdecl CanCreateOrWriteFile(class IO::Location const &)"},
    // Open command: the alerts, the information dialog's don't-show-again choice.
    {"DG.dll", "short __cdecl DGAlert(short, class GS::UniString const &, class GS::UniString const &, class "
               "GS::UniString const &, class GS::UniString const &, class GS::UniString const &, class "
               "GS::UniString const &)"},
    {"DG.dll",
     "enum DG::AlertResponse __cdecl DG::WarningAlert(class GS::UniString const &, class GS::UniString "
     "const &, class GS::UniString const &, class GS::UniString const &, class GS::UniString const &)"},
    {"DG.dll", "int __cdecl DGRetrieveUserDataFromRegistry(class GS::UniString const &, void *, int)"},
    {"UD.dll", "public: static void __cdecl UD::DontShowAgainDialogUtils::InvokeDontShowAgainDialog(__int64, "
               "short, class GS::UniString const &, __int64)"},
    // Export settings dialog: the DG classes it derives from and whose notifications it overrides
    // (their destructors and default notifications are the base classes', in DG.dll).
    {"DG.dll", "public: __cdecl DG::ModalDialog::ModalDialog(__int64, short, __int64)"},
    {"DG.dll", "public: virtual __cdecl DG::ModalDialog::~ModalDialog(void)"},
    {"DG.dll", "public: bool __cdecl DG::ModalDialog::Invoke(void)"},
    {"DG.dll", "public: void __cdecl DG::ModalDialog::PostCloseRequest(enum DG::ModalResponse)"},
    {"DG.dll", "public: void __cdecl DG::Dialog::Resize(short, short, enum DG::ResizeFixPoint, bool)"},
    {"DG.dll", "public: void __cdecl DG::Dialog::SetGrowType(enum DG::GrowType)"},
    {"DG.dll", "public: short __cdecl DG::Panel::GetWidth(void) const"},
    {"DG.dll", "public: void __cdecl DG::Panel::Attach(class DG::PanelObserver &) const"},
    {"DG.dll", "public: void __cdecl DG::Panel::Detach(class DG::PanelObserver &) const"},
    {"DG.dll", "public: __cdecl DG::Button::Button(class DG::Panel const &, short)"},
    {"DG.dll", "public: __cdecl DG::IconItem::IconItem(class DG::Panel const &, short)"},
    {"DG.dll", "public: __cdecl DG::LeftText::LeftText(class DG::Panel const &, short)"},
    {"DG.dll", "public: __cdecl DG::Separator::Separator(class DG::Panel const &, short)"},
    {"DG.dll", "public: __cdecl DG::PopUp::PopUp(class DG::Panel const &, short)"},
    {"DG.dll", "public: virtual __cdecl DG::Item::~Item(void)"},
    {"DG.dll", "public: void __cdecl DG::Item::Move(short, short)"},
    {"DG.dll", "public: void __cdecl DG::Item::Resize(short, short)"},
    {"DG.dll", "public: void __cdecl DG::Item::SetStatus(bool)"},
    {"DG.dll", "public: void __cdecl DG::PopUp::AppendItem(void)"},
    {"DG.dll", "public: void __cdecl DG::PopUp::InsertItem(short)"},
    {"DG.dll", "public: void __cdecl DG::PopUp::DeleteItem(short)"},
    {"DG.dll", "public: void __cdecl DG::PopUp::DisableItem(short)"},
    {"DG.dll", "public: short __cdecl DG::PopUp::GetItemCount(void) const"},
    {"DG.dll", "public: class GS::UniString __cdecl DG::PopUp::GetItemText(short) const"},
    {"DG.dll", "public: void __cdecl DG::PopUp::SetItemText(short, class GS::UniString const &)"},
    {"DG.dll", "public: short __cdecl DG::PopUp::GetSelectedItem(void) const"},
    {"DG.dll", "public: void __cdecl DG::PopUp::SelectItem(short)"},
    {"DG.dll", "public: virtual __cdecl DG::ItemObserver::~ItemObserver(void)"},
    {"DG.dll", "public: virtual __cdecl DG::ButtonItemObserver::~ButtonItemObserver(void)"},
    {"DG.dll", "public: virtual void __cdecl DG::ButtonItemObserver::ButtonClicked(class "
               "DG::ButtonClickEvent const &)"},
    {"DG.dll", "public: virtual __cdecl DG::PopUpObserver::~PopUpObserver(void)"},
    {"DG.dll",
     "public: virtual void __cdecl DG::PopUpObserver::PopUpChanged(class DG::PopUpChangeEvent const &)"},
    {"DG.dll", "public: virtual __cdecl DG::CompoundItemObserver::~CompoundItemObserver(void)"},
    {"DG.dll", "public: void __cdecl DG::CompoundItemObserver::AttachToAllItems(class DG::Panel const &)"},
    {"DG.dll", "public: void __cdecl DG::CompoundItemObserver::DetachFromAllItems(class DG::Panel const &)"},
    {"DG.dll", "public: virtual __cdecl DG::PanelObserver::~PanelObserver(void)"},
    {"DG.dll", "public: virtual void __cdecl DG::PanelObserver::PanelOpened(void)"},
    {"DG.dll", "public: virtual void __cdecl DG::PanelObserver::PanelClosed(void)"},
    {"DG.dll", "public: virtual void __cdecl DG::PanelObserver::PanelCloseRequested(void)"},
    {"DG.dll", "public: virtual void __cdecl DG::PanelObserver::PanelResizing(void)"},
    {"DG.dll",
     "public: virtual void __cdecl DG::PanelObserver::PanelResized(class DG::PanelResizeEvent const &)"},
    {"DG.dll", "public: virtual void __cdecl DG::PanelObserver::PanelResizeExited(void)"},
    // Module lifecycle: its resources and the XML library's start and end.
    {"RS.dll", "__int64 __cdecl RSInitModuleImageCache(struct HINSTANCE__*)"},
    {"RS.dll", "void __cdecl RSRemoveModuleImageCache(__int64)"},
    {"RS.dll",
     "class GS::UniString __cdecl RSGetIndString_ParamAdapter(struct GS::SourceLocation const &, short, "
     "int, __int64, enum ResStringType)"},
    {"RS.dll",
     "bool __cdecl RSGetIndString_ParamAdapter(struct GS::SourceLocation const &, class GS::UniString *, "
     "short, int, __int64, enum ResStringType)"},
    {"GSXMLUtils.dll", "public: __cdecl GSXML::XercescInitializer::XercescInitializer(void)"},
    {"GSXMLUtils.dll", "public: __cdecl GSXML::XercescInitializer::~XercescInitializer(void)"},
};

// The C++ runtime a host built with /MD ships, and the parts of Windows the add-on calls itself.
const std::set<std::string> RuntimeAndSystemDlls = {"msvcp140.dll", "vcruntime140.dll", "ucrtbase.dll",
                                                    "kernel32.dll", "user32.dll"};

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// llvm-undname prints the decorated name, then the decoded one (or "error: ...").
std::string Undecorated(const std::string& decorated) {
    const std::string command = std::string(LLVM_UNDNAME) + " '" + decorated + "' 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return "error: llvm-undname did not start";
    }
    std::vector<std::string> lines(1);
    for (int c = std::fgetc(pipe); c != EOF; c = std::fgetc(pipe)) {
        if (c == '\n') {
            lines.emplace_back();
        } else {
            lines.back() += static_cast<char>(c);
        }
    }
    ::pclose(pipe);
    return lines.size() >= 2 ? lines[1] : "error: no output";
}

class ModuleBinaryInterface : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::filesystem::exists(WINDOWS_ADDON_MODULE_PATH)) {
            GTEST_SKIP() << "no Windows build of the module at " << WINDOWS_ADDON_MODULE_PATH;
        }
        image = PeModule::ReadPeImageFile(WINDOWS_ADDON_MODULE_PATH);
    }

    // Every imported or exported name, with the DLL it comes from ("" for the module's exports).
    std::vector<std::pair<std::string, std::string>> AllNames() const {
        std::vector<std::pair<std::string, std::string>> names;
        for (const std::string& name : image.exportNames) {
            names.emplace_back("", name);
        }
        for (const PeImport& import : image.imports) {
            for (const std::string& name : import.names) {
                names.emplace_back(import.dll, name);
            }
        }
        return names;
    }

    PeImage image;
};

TEST_F(ModuleBinaryInterface, NoNameIsItaniumDecoratedAndEveryCxxNameIsMsvcDecorated) {
    std::size_t cxxNames = 0;
    for (const auto& [dll, name] : AllNames()) {
        EXPECT_FALSE(name.starts_with("_Z")) << dll << ": " << name << " is an Itanium (GNU) C++ name";
        if (name.starts_with("?")) {
            ++cxxNames;
            EXPECT_FALSE(Undecorated(name).starts_with("error")) << dll << ": " << name << " does not decode";
        }
    }
    EXPECT_GT(cxxNames, 0u) << "the module calls the host's C++ interface";
}

TEST_F(ModuleBinaryInterface, EveryHostImportIsTheIntendedFunctionFromTheLibraryThatDeclaresIt) {
    std::map<std::string, std::string> expected; // decoded name -> DLL
    for (const HostImport& row : ExpectedHostImports) {
        EXPECT_TRUE(expected.emplace(row.function, Lower(row.dll)).second) << "a row twice: " << row.function;
    }
    std::set<std::string> seen;
    for (const PeImport& import : image.imports) {
        const std::string dll = Lower(import.dll);
        if (RuntimeAndSystemDlls.contains(dll)) {
            continue;
        }
        for (const std::string& name : import.names) {
            ASSERT_TRUE(name.starts_with("?")) << dll << ": " << name << " is not a C++ host function";
            const std::string decoded = Undecorated(name);
            const auto row = expected.find(decoded);
            if (row == expected.end()) {
                ADD_FAILURE() << dll << " gives an import no row expects: " << decoded << " (" << name << ")";
                continue;
            }
            EXPECT_EQ(dll, row->second) << decoded;
            seen.insert(decoded);
        }
    }
    for (const auto& [function, dll] : expected) {
        EXPECT_TRUE(seen.contains(function)) << "not imported from " << dll << ": " << function;
    }
}

TEST_F(ModuleBinaryInterface, TheCxxRuntimeIsTheHostsSharedOneAndNoOtherRuntimeIsNamed) {
    const std::set<std::string> hostLibraries = {"gsroot.dll",     "inputoutput.dll", "rs.dll", "gsutils.dll",
                                                 "gsxmlutils.dll", "dg.dll",          "ud.dll"};
    std::set<std::string> runtime;
    for (const PeImport& import : image.imports) {
        const std::string dll = Lower(import.dll);
        EXPECT_TRUE(hostLibraries.contains(dll) || RuntimeAndSystemDlls.contains(dll))
            << import.dll << " is neither a host library, nor the host's C++ runtime, nor Windows";
        if (dll == "msvcp140.dll" || dll == "vcruntime140.dll" || dll == "ucrtbase.dll") {
            runtime.insert(dll);
        }
    }
    // The module throws and catches, so vcruntime140's frame handler must be imported from there,
    // not from ucrtbase (Wine's ucrtbase has it too; Windows' does not).
    EXPECT_TRUE(runtime.contains("vcruntime140.dll"));
    EXPECT_TRUE(runtime.contains("ucrtbase.dll"));
    for (const PeImport& import : image.imports) {
        for (const std::string& name : import.names) {
            if (name == "__CxxFrameHandler3" || name == "__CxxFrameHandler4" ||
                name == "_CxxThrowException") {
                EXPECT_EQ(Lower(import.dll), "vcruntime140.dll") << name;
            }
        }
    }
}

} // namespace
