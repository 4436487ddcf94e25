#include "ProcessStart.hpp"

#include "WindowsCommandLine.hpp"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <vector>

namespace IO::Process::ProcessStart {

namespace {

bool EndsWithCaseless(const GS::UniString& text, const GS::UniString& suffix) {
    return text.GetLength() >= suffix.GetLength() &&
           text.GetSubstring(text.GetLength() - suffix.GetLength(), suffix.GetLength())
               .IsEqual(suffix, GS::CaseInsensitive);
}

// CreateProcessW runs these through cmd.exe, whose own parsing would split and expand the arguments.
bool IsBatchFile(const GS::UniString& path) {
    return EndsWithCaseless(path, GS::UniString(u".bat")) || EndsWithCaseless(path, GS::UniString(u".cmd"));
}

// A command line ends at its first NUL; such an argument cannot reach the program whole.
bool AnyHoldsNul(const GS::Array<GS::UniString>& arguments) {
    for (const GS::UniString& argument : arguments) {
        if (argument.FindFirst(u'\0') != GS::MaxUIndex) {
            return true;
        }
    }
    return false;
}

GSErrCode CodeOf(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? GSErr::NotFound : GSErr::IOError;
}

} // namespace

GSErrCode StartDetached(const GS::UniString& executablePath, const GS::Array<GS::UniString>& arguments) {
    if (IsBatchFile(executablePath) || AnyHoldsNul(arguments)) {
        return GSErr::BadParameter;
    }
    const GS::UniString line = WindowsCommandLine::Build(executablePath, arguments);
    // CreateProcessW may write into the command line, so it gets a buffer of its own.
    std::vector<wchar_t> buffer(line.ToUStr(), line.ToUStr() + line.GetLength());
    buffer.push_back(L'\0');

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    const BOOL started =
        ::CreateProcessW(reinterpret_cast<const wchar_t*>(executablePath.ToUStr()), buffer.data(), nullptr,
                         nullptr, FALSE, CREATE_NEW_PROCESS_GROUP, nullptr, nullptr, &startup, &process);
    if (!started) {
        return CodeOf(::GetLastError());
    }
    // The process runs on by itself; the host keeps no handle to it.
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return NoError;
}

} // namespace IO::Process::ProcessStart
