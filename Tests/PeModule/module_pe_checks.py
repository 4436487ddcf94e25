"""The Windows module file as the cross build made it, read with pefile (Debian's python3-pefile):
a 64-bit DLL that exports exactly the two entry functions, carries the very resource bytes ResConv
wrote, and imports what a host built by Microsoft's compiler offers. Every C++ import must carry an
MSVC decoration that decodes (with llvm-undname) to the host function the add-on means to call, from
the host library that declares it; the C++ runtime must be the one the host ships (msvcp140,
vcruntime140, ucrtbase). A changed host signature, an Itanium-decorated name or a runtime DLL the
host lacks fails a check.

    module_pe_checks.py MODULE.apx MODULE.res LLVM_UNDNAME

Exits 77 (skipped) when the module is not there: the native build runs it on the Windows build's
module, which may not have been made.
"""
import pathlib
import struct
import subprocess
import sys
import unittest

import pefile

MODULE, RES_FILE, UNDNAME = sys.argv[1:4]

# Everything the add-on calls in the host libraries, by the part of the add-on that calls it.
EXPECTED_HOST_IMPORTS = [
    # Strings, memory, handles and channels: every part.
    ("GSRoot.dll", "public: __cdecl GS::UniString::UniString(void)"),
    ("GSRoot.dll", "public: __cdecl GS::UniString::UniString(char const *, enum GSCharCode)"),
    ("GSRoot.dll", "public: __cdecl GS::UniString::UniString(class GS::UniString const &)"),
    ("GSRoot.dll", "public: __cdecl GS::UniString::UniString(class GS::UniString &&)"),
    ("GSRoot.dll", "public: __cdecl GS::UniString::~UniString(void)"),
    ("GSRoot.dll",
     "public: class GS::UniString & __cdecl GS::UniString::operator=(class GS::UniString const &)"),
    ("GSRoot.dll", "public: class GS::UniString & __cdecl GS::UniString::operator=(class GS::UniString &&)"),
    ("GSRoot.dll", "public: class GS::UniString & __cdecl GS::UniString::operator+=(char16_t)"),
    ("GSRoot.dll",
     "public: class GS::UniString & __cdecl GS::UniString::Append(class GS::UniString const &)"),
    ("GSRoot.dll", "public: bool __cdecl GS::UniString::IsEqual(class GS::UniString const &, enum "
                   "GS::CaseComparison) const"),
    ("GSRoot.dll",
     "public: class GS::UniString::CStr __cdecl GS::UniString::ToCStr(unsigned int, unsigned int, "
     "enum GSCharCode, char) const"),
    ("GSRoot.dll", "public: char const * __cdecl GS::UniString::CStr::Get(void) const"),
    ("GSRoot.dll", "public: __cdecl GS::UniString::CStr::~CStr(void)"),
    ("GSRoot.dll", "public: char16_t __cdecl GS::UniString::operator[](unsigned int) const"),
    ("GSRoot.dll", "public: static void * __cdecl GS::MemoryManager::Allocate(unsigned __int64)"),
    ("GSRoot.dll", "public: static void __cdecl GS::MemoryManager::Free(void *)"),
    ("GSRoot.dll", "int __cdecl BMPtrToHandle(void const *, char ***, int)"),
    ("GSRoot.dll", "int __cdecl BMGetHandleSize(char const *const *)"),
    ("GSRoot.dll", "int __cdecl BMKillHandle(char ***)"),
    ("GSRoot.dll", "void __cdecl BNFillMemory(void *, int, unsigned char)"),
    ("GSRoot.dll", "void __cdecl DBPrintf(char const *, ...)"),
    # Analysis application locator: the installer keys in the registry, and the host's version.
    ("GSRoot.dll",
     "class GSPref::IRoot * __cdecl GSPref::OpenRootKey(enum GSPref::RootKeyDomain, char const *)"),
    ("GSRoot.dll", "void __cdecl GSPref::CloseRootKey(class GSPref::IRoot **)"),
    ("GSRoot.dll", "public: virtual __cdecl GSPref::SubKeyVisitor::~SubKeyVisitor(void)"),
    ("GSUtils.dll", "public: __cdecl SU::ProductVersionInfo::ProductVersionInfo(void)"),
    ("GSUtils.dll", "public: int __cdecl SU::ProductVersionInfo::GetBuildNum(void) const"),
    ("GSUtils.dll",
     "public: class GS::UniString __cdecl SU::ProductVersionInfo::GetShortVersionString(void) const"),
    # Translator preference store and SAF translator bridge: the project's stored name and the
    # command calls' parameters travel through memory channels; the add-on object's id is a Guid.
    ("GSRoot.dll", "public: __cdecl GS::MemoryIChannel32::MemoryIChannel32(void const *, int, enum "
                   "GS::OwnershipType, char *, int, enum GS::MemoryAllocationMode)"),
    ("GSRoot.dll", "public: virtual __cdecl GS::MemoryIChannel32::~MemoryIChannel32(void)"),
    ("GSRoot.dll",
     "public: __cdecl GS::MemoryOChannel32::MemoryOChannel32(int, int, enum GS::MemoryAllocationMode)"),
    ("GSRoot.dll", "public: virtual __cdecl GS::MemoryOChannel32::~MemoryOChannel32(void)"),
    ("GSRoot.dll",
     "public: char const * __cdecl GS::MemoryOChannel32::GetDestination(enum GS::OwnershipType)"),
    ("GSRoot.dll", "public: int __cdecl GS::IChannel::Read(class GS::UniString &)"),
    ("GSRoot.dll", "public: int __cdecl GS::OChannel::Write(class GS::UniString const &)"),
    ("GSRoot.dll", "public: __cdecl GS::Guid::Guid(void)"),
    ("GSRoot.dll", "public: bool __cdecl GS::Guid::IsNull(void) const"),
    ("GSRoot.dll", "public: bool __cdecl GS::Guid::operator==(class GS::Guid const &) const"),
    # Open command: the export folder and workbook path, the file checks, the launcher.
    ("InputOutput.dll", "public: __cdecl IO::Location::Location(void)"),
    ("InputOutput.dll", "public: __cdecl IO::Location::Location(class GS::UniString const &)"),
    ("InputOutput.dll", "public: int __cdecl IO::Location::AppendToLocal(class IO::Name const &)"),
    ("InputOutput.dll", "public: int __cdecl IO::Location::ToPath(class GS::UniString *) const"),
    ("InputOutput.dll", "public: bool __cdecl IO::Location::IsLegalInNativeFileSystem(void) const"),
    ("InputOutput.dll", "public: __cdecl IO::Name::Name(char const *)"),
    ("InputOutput.dll", "public: __cdecl IO::Name::Name(class GS::UniString const &)"),
    ("InputOutput.dll",
     "public: __cdecl IO::Folder::Folder(class IO::Location const &, enum IO::OnNotFound)"),
    ("InputOutput.dll",
     "public: __cdecl IO::File::File(class IO::Folder const &, class IO::Name const &, enum IO::OnNotFound)"),
    ("InputOutput.dll", "public: static class IO::Process::ApplicationLauncher & __cdecl "
                        "IO::Process::ApplicationLauncher::Instance(void)"),
    ("InputOutput.dll",
     "public: int __cdecl IO::Process::ApplicationLauncher::Launch(class IO::Location const &, "
     "class GS::Array<class GS::UniString> const &, enum IO::Process::LaunchMode, enum "
     "IO::Process::LaunchOption)"),
    ("GSUtils.dll", "bool __cdecl FileExists(class IO::Location const &)"),
    ("GSUtils.dll", "bool __cdecl CanCreateOrWriteFile(class IO::Location const &)"),
    # Open command: the alerts, the information dialog's don't-show-again choice.
    ("DG.dll", "short __cdecl DGAlert(short, class GS::UniString const &, class GS::UniString const &, class "
               "GS::UniString const &, class GS::UniString const &, class GS::UniString const &, class "
               "GS::UniString const &)"),
    ("DG.dll",
     "enum DG::AlertResponse __cdecl DG::WarningAlert(class GS::UniString const &, class GS::UniString "
     "const &, class GS::UniString const &, class GS::UniString const &, class GS::UniString const &)"),
    ("DG.dll", "int __cdecl DGRetrieveUserDataFromRegistry(class GS::UniString const &, void *, int)"),
    ("UD.dll", "public: static void __cdecl UD::DontShowAgainDialogUtils::InvokeDontShowAgainDialog(__int64, "
               "short, class GS::UniString const &, __int64)"),
    # Export settings dialog: the DG classes it derives from and whose notifications it overrides
    # (their destructors and default notifications are the base classes', in DG.dll).
    ("DG.dll", "public: __cdecl DG::ModalDialog::ModalDialog(__int64, short, __int64)"),
    ("DG.dll", "public: virtual __cdecl DG::ModalDialog::~ModalDialog(void)"),
    ("DG.dll", "public: bool __cdecl DG::ModalDialog::Invoke(void)"),
    ("DG.dll", "public: void __cdecl DG::ModalDialog::PostCloseRequest(enum DG::ModalResponse)"),
    ("DG.dll", "public: void __cdecl DG::Dialog::Resize(short, short, enum DG::ResizeFixPoint, bool)"),
    ("DG.dll", "public: void __cdecl DG::Dialog::SetGrowType(enum DG::GrowType)"),
    ("DG.dll", "public: short __cdecl DG::Panel::GetWidth(void) const"),
    ("DG.dll", "public: void __cdecl DG::Panel::Attach(class DG::PanelObserver &) const"),
    ("DG.dll", "public: void __cdecl DG::Panel::Detach(class DG::PanelObserver &) const"),
    ("DG.dll", "public: __cdecl DG::Button::Button(class DG::Panel const &, short)"),
    ("DG.dll", "public: __cdecl DG::IconItem::IconItem(class DG::Panel const &, short)"),
    ("DG.dll", "public: __cdecl DG::LeftText::LeftText(class DG::Panel const &, short)"),
    ("DG.dll", "public: __cdecl DG::Separator::Separator(class DG::Panel const &, short)"),
    ("DG.dll", "public: __cdecl DG::PopUp::PopUp(class DG::Panel const &, short)"),
    ("DG.dll", "public: virtual __cdecl DG::Item::~Item(void)"),
    ("DG.dll", "public: void __cdecl DG::Item::Move(short, short)"),
    ("DG.dll", "public: void __cdecl DG::Item::Resize(short, short)"),
    ("DG.dll", "public: void __cdecl DG::Item::SetStatus(bool)"),
    ("DG.dll", "public: void __cdecl DG::PopUp::AppendItem(void)"),
    ("DG.dll", "public: void __cdecl DG::PopUp::InsertItem(short)"),
    ("DG.dll", "public: void __cdecl DG::PopUp::DeleteItem(short)"),
    ("DG.dll", "public: void __cdecl DG::PopUp::DisableItem(short)"),
    ("DG.dll", "public: short __cdecl DG::PopUp::GetItemCount(void) const"),
    ("DG.dll", "public: class GS::UniString __cdecl DG::PopUp::GetItemText(short) const"),
    ("DG.dll", "public: void __cdecl DG::PopUp::SetItemText(short, class GS::UniString const &)"),
    ("DG.dll", "public: short __cdecl DG::PopUp::GetSelectedItem(void) const"),
    ("DG.dll", "public: void __cdecl DG::PopUp::SelectItem(short)"),
    ("DG.dll", "public: virtual __cdecl DG::ItemObserver::~ItemObserver(void)"),
    ("DG.dll", "public: virtual __cdecl DG::ButtonItemObserver::~ButtonItemObserver(void)"),
    ("DG.dll", "public: virtual void __cdecl DG::ButtonItemObserver::ButtonClicked(class "
               "DG::ButtonClickEvent const &)"),
    ("DG.dll", "public: virtual __cdecl DG::PopUpObserver::~PopUpObserver(void)"),
    ("DG.dll",
     "public: virtual void __cdecl DG::PopUpObserver::PopUpChanged(class DG::PopUpChangeEvent const &)"),
    ("DG.dll", "public: virtual __cdecl DG::CompoundItemObserver::~CompoundItemObserver(void)"),
    ("DG.dll", "public: void __cdecl DG::CompoundItemObserver::AttachToAllItems(class DG::Panel const &)"),
    ("DG.dll", "public: void __cdecl DG::CompoundItemObserver::DetachFromAllItems(class DG::Panel const &)"),
    ("DG.dll", "public: virtual __cdecl DG::PanelObserver::~PanelObserver(void)"),
    ("DG.dll", "public: virtual void __cdecl DG::PanelObserver::PanelOpened(void)"),
    ("DG.dll", "public: virtual void __cdecl DG::PanelObserver::PanelClosed(void)"),
    ("DG.dll", "public: virtual void __cdecl DG::PanelObserver::PanelCloseRequested(void)"),
    ("DG.dll", "public: virtual void __cdecl DG::PanelObserver::PanelResizing(void)"),
    ("DG.dll",
     "public: virtual void __cdecl DG::PanelObserver::PanelResized(class DG::PanelResizeEvent const &)"),
    ("DG.dll", "public: virtual void __cdecl DG::PanelObserver::PanelResizeExited(void)"),
    # Module lifecycle: its resources and the XML library's start and end.
    ("RS.dll", "__int64 __cdecl RSInitModuleImageCache(struct HINSTANCE__*)"),
    ("RS.dll", "void __cdecl RSRemoveModuleImageCache(__int64)"),
    ("RS.dll",
     "class GS::UniString __cdecl RSGetIndString_ParamAdapter(struct GS::SourceLocation const &, short, "
     "int, __int64, enum ResStringType)"),
    ("RS.dll",
     "bool __cdecl RSGetIndString_ParamAdapter(struct GS::SourceLocation const &, class GS::UniString *, "
     "short, int, __int64, enum ResStringType)"),
    ("GSXMLUtils.dll", "public: __cdecl GSXML::XercescInitializer::XercescInitializer(void)"),
    ("GSXMLUtils.dll", "public: __cdecl GSXML::XercescInitializer::~XercescInitializer(void)"),
]

# The C++ runtime a host built with /MD ships, and the parts of Windows the add-on calls itself.
RUNTIME_AND_SYSTEM_DLLS = {"msvcp140.dll", "vcruntime140.dll", "ucrtbase.dll", "kernel32.dll", "user32.dll"}
HOST_LIBRARIES = {"gsroot.dll", "inputoutput.dll", "rs.dll", "gsutils.dll", "gsxmlutils.dll", "dg.dll", "ud.dll"}
RT_VERSION = 16


def res_file_entries(path):
    """(type, name, language, bytes) of every entry of a .res file; a type or name is a number or a
    text. The layout: DataSize, HeaderSize, TYPE, NAME (each 0xFFFF and a number, or UTF-16 up to a
    NUL), aligned to 4, DataVersion, MemoryFlags, LanguageId, Version, Characteristics; the data,
    aligned to 4. The first entry is the empty one that marks a 32-bit .res file."""
    data = pathlib.Path(path).read_bytes()
    entries, offset = [], 0
    while offset + 8 <= len(data):
        size, header_size = struct.unpack_from("<II", data, offset)
        at = offset + 8
        ids = []
        for _ in range(2):
            if struct.unpack_from("<H", data, at)[0] == 0xFFFF:
                ids.append(struct.unpack_from("<H", data, at + 2)[0])
                at += 4
            else:
                end = at
                while data[end:end + 2] != b"\0\0":
                    end += 2
                ids.append(data[at:end].decode("utf-16-le"))
                at = end + 2
        at = (at + 3) & ~3
        language = struct.unpack_from("<H", data, at + 6)[0]
        start = offset + header_size
        if size > 0:
            entries.append((ids[0], ids[1], language, data[start:start + size]))
        offset = (start + size + 3) & ~3
    return entries


def pe_resources(pe):
    """(type, name, language, bytes) of every resource in the module's resource tree."""
    def ident(entry):
        return str(entry.name) if entry.name is not None else entry.id
    found = []
    for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        for name in kind.directory.entries:
            for language in name.directory.entries:
                at = language.data.struct
                found.append((ident(kind), ident(name), language.id,
                              pe.get_data(at.OffsetToData, at.Size)))
    return found


def imports(pe):
    """(dll, [names]) in the import directory's order; "#N" for an import by ordinal."""
    return [(entry.dll.decode(), [i.name.decode() if i.name else f"#{i.ordinal}" for i in entry.imports])
            for entry in pe.DIRECTORY_ENTRY_IMPORT]


def undecorated(names):
    """The names as llvm-undname decodes them ("error: ..." for one it cannot)."""
    decoded = {}
    for name in names:
        lines = subprocess.run([UNDNAME, name], capture_output=True, text=True).stdout.splitlines()
        decoded[name] = lines[1] if len(lines) >= 2 else "error: no output"
    return decoded


class WindowsModuleFile(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.pe = pefile.PE(MODULE)
        cls.imports = imports(cls.pe)
        cls.resources = pe_resources(cls.pe)
        cls.written = res_file_entries(RES_FILE)
        cxx = [name for _, names in cls.imports for name in names if name.startswith("?")]
        cls.decoded = undecorated(cxx)

    def test_is_a_64_bit_pe32_plus_dll(self):
        self.assertEqual(self.pe.FILE_HEADER.Machine, pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_AMD64"])
        self.assertEqual(self.pe.OPTIONAL_HEADER.Magic, pefile.OPTIONAL_HEADER_MAGIC_PE_PLUS)
        self.assertTrue(self.pe.FILE_HEADER.Characteristics & pefile.IMAGE_CHARACTERISTICS["IMAGE_FILE_DLL"])

    def test_exports_exactly_the_two_entry_functions_undecorated(self):
        names = [symbol.name.decode() for symbol in self.pe.DIRECTORY_ENTRY_EXPORT.symbols]
        self.assertEqual(names, ["GetExportedFuncAddrs", "SetImportedFuncAddrs"])

    def test_carries_the_four_string_lists_with_the_bytes_resconv_wrote(self):
        for number in (32000, 32300, 32500, 32600):
            with self.subTest(list=number):
                in_module = [r[3] for r in self.resources if r[:3] == ("STRS", number, 1033)]
                in_res = [e[3] for e in self.written if e[:3] == ("STRS", number, 1033)]
                self.assertEqual(len(in_module), 1, f"no STRS {number} in language 1033")
                self.assertEqual(len(in_res), 1, f"ResConv's .res holds no STRS {number}")
                self.assertEqual(in_module[0], in_res[0])

    # The module's VERSIONINFO (cmake/VersionInfo.rc) is the one resource beside those ResConv wrote.
    def test_holds_every_resource_of_the_res_file_and_beside_them_only_its_version_info(self):
        self.assertEqual(len(self.resources), len(self.written) + 1)
        self.assertEqual(sum(1 for r in self.resources if r[0] == RT_VERSION and r[1] == 1), 1)
        for entry in self.written:
            with self.subTest(type=entry[0], name=entry[1]):
                self.assertIn(entry, self.resources)

    def test_no_name_is_itanium_decorated_and_every_cxx_name_is_msvc_decorated(self):
        exported = [("", symbol.name.decode()) for symbol in self.pe.DIRECTORY_ENTRY_EXPORT.symbols]
        imported = [(dll, name) for dll, names in self.imports for name in names]
        for dll, name in exported + imported:
            self.assertFalse(name.startswith("_Z"), f"{dll}: {name} is an Itanium (GNU) C++ name")
            if name.startswith("?"):
                self.assertFalse(self.decoded.get(name, undecorated([name])[name]).startswith("error"),
                                 f"{dll}: {name} does not decode")
        self.assertTrue(self.decoded, "the module calls the host's C++ interface")

    def test_every_host_import_is_the_intended_function_from_the_library_that_declares_it(self):
        expected = {}
        for dll, function in EXPECTED_HOST_IMPORTS:
            self.assertNotIn(function, expected, "a row twice")
            expected[function] = dll.lower()
        seen = set()
        for dll, names in self.imports:
            dll = dll.lower()
            if dll in RUNTIME_AND_SYSTEM_DLLS:
                continue
            for name in names:
                self.assertTrue(name.startswith("?"), f"{dll}: {name} is not a C++ host function")
                decoded = self.decoded[name]
                with self.subTest(decoded=decoded):
                    self.assertIn(decoded, expected, f"{dll} gives an import no row expects ({name})")
                    self.assertEqual(dll, expected[decoded])
                    seen.add(decoded)
        self.assertEqual(sorted(set(expected) - seen), [], "expected but not imported")

    def test_the_cxx_runtime_is_the_hosts_shared_one_and_no_other_runtime_is_named(self):
        runtime = set()
        for dll, names in self.imports:
            lower = dll.lower()
            self.assertTrue(lower in HOST_LIBRARIES or lower in RUNTIME_AND_SYSTEM_DLLS,
                            f"{dll} is neither a host library, nor the host's C++ runtime, nor Windows")
            if lower in ("msvcp140.dll", "vcruntime140.dll", "ucrtbase.dll"):
                runtime.add(lower)
            # The module throws and catches, so vcruntime140's frame handler must be imported from
            # there, not from ucrtbase (Wine's ucrtbase has it too; Windows' does not).
            for name in names:
                if name in ("__CxxFrameHandler3", "__CxxFrameHandler4", "_CxxThrowException"):
                    self.assertEqual(lower, "vcruntime140.dll", name)
        self.assertIn("vcruntime140.dll", runtime)
        self.assertIn("ucrtbase.dll", runtime)


if __name__ == "__main__":
    if not pathlib.Path(MODULE).exists():
        print(f"no Windows build of the module at {MODULE}")
        sys.exit(77)
    unittest.main(argv=sys.argv[:1], verbosity=1)
