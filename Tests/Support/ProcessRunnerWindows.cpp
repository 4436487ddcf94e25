#include "ProcessRunner.hpp"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <fstream>
#include <sstream>

namespace Scenarios {

namespace {

std::wstring Wide(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end())).wstring();
}

// One argument quoted so that the C runtime's splitting gives it back unchanged: backslashes are
// literal unless they precede a quote, where each must be doubled.
void AppendQuoted(std::wstring& commandLine, const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
        commandLine += argument;
        return;
    }
    commandLine += L'"';
    std::size_t backslashes = 0;
    for (const wchar_t unit : argument) {
        if (unit == L'\\') {
            ++backslashes;
            continue;
        }
        commandLine.append(unit == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        commandLine += unit;
    }
    commandLine.append(backslashes * 2, L'\\');
    commandLine += L'"';
}

class OwnedHandle {
public:
    explicit OwnedHandle(HANDLE owned = INVALID_HANDLE_VALUE) : handle(owned) {}
    ~OwnedHandle() {
        if (handle != INVALID_HANDLE_VALUE && handle != nullptr) {
            ::CloseHandle(handle);
        }
    }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    HANDLE Get() const { return handle; }

private:
    HANDLE handle;
};

HANDLE OpenInheritable(const std::filesystem::path& path, DWORD access, DWORD disposition) {
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    return ::CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable, disposition,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Text mode: a Windows console program ends its lines in CR LF, which a text stream reads as LF.
std::string ReadText(const std::filesystem::path& path) {
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

} // namespace

ProcessResult RunProcess(const std::vector<std::string>& arguments,
                         const std::filesystem::path& scratchFolder,
                         const std::filesystem::path& workingFolder) {
    const std::filesystem::path outputFile = scratchFolder / "process.stdout";
    const std::filesystem::path errorFile = scratchFolder / "process.stderr";
    std::wstring commandLine;
    for (const std::string& argument : arguments) {
        if (!commandLine.empty()) {
            commandLine += L' ';
        }
        AppendQuoted(commandLine, Wide(argument));
    }

    ProcessResult result;
    {
        const OwnedHandle input(OpenInheritable(L"NUL", GENERIC_READ, OPEN_EXISTING));
        const OwnedHandle output(OpenInheritable(outputFile, GENERIC_WRITE, CREATE_ALWAYS));
        const OwnedHandle errors(OpenInheritable(errorFile, GENERIC_WRITE, CREATE_ALWAYS));
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = input.Get();
        startup.hStdOutput = output.Get();
        startup.hStdError = errors.Get();
        PROCESS_INFORMATION process{};
        const std::wstring program = Wide(arguments.front());
        const std::wstring folder = workingFolder.empty() ? std::wstring() : workingFolder.wstring();
        // Wine's process creation now and then answers ERROR_INTERNAL_ERROR while its server is busy
        // (seen in a CI run, on a start that works every other time): such a start is tried again.
        DWORD startError = ERROR_INTERNAL_ERROR;
        for (int attempt = 0; attempt < 3 && startError == ERROR_INTERNAL_ERROR; ++attempt) {
            if (attempt > 0) {
                ::Sleep(200);
            }
            startError = ::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                                          CREATE_NO_WINDOW, nullptr,
                                          folder.empty() ? nullptr : folder.c_str(), &startup, &process) != 0
                             ? ERROR_SUCCESS
                             : ::GetLastError();
        }
        if (startError != ERROR_SUCCESS) {
            result.errors =
                "cannot start " + arguments.front() + " (error " + std::to_string(startError) + ")";
            return result;
        }
        const OwnedHandle processHandle(process.hProcess);
        const OwnedHandle threadHandle(process.hThread);
        DWORD exitCode = 0;
        if (::WaitForSingleObject(process.hProcess, INFINITE) == WAIT_OBJECT_0 &&
            ::GetExitCodeProcess(process.hProcess, &exitCode) != 0) {
            result.exitCode = static_cast<int>(exitCode);
        }
    }
    result.output = ReadText(outputFile);
    result.errors = ReadText(errorFile);
    return result;
}

std::string NativeProgramPath(const std::filesystem::path& path) {
    const std::u8string utf8 = path.u8string();
    const std::string asGiven(utf8.begin(), utf8.end());
    // Wine's own export; on Windows itself kernel32 has no such function.
    using UnixName = char*(__cdecl*)(const wchar_t*);
    const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    const auto toUnix = kernel == nullptr ? nullptr
                                          : reinterpret_cast<UnixName>(reinterpret_cast<void (*)()>(
                                                ::GetProcAddress(kernel, "wine_get_unix_file_name")));
    if (toUnix == nullptr) {
        return asGiven;
    }
    char* unixName = toUnix(path.wstring().c_str());
    if (unixName == nullptr) {
        return asGiven;
    }
    std::string result(unixName);
    ::HeapFree(::GetProcessHeap(), 0, unixName);
    return result;
}

} // namespace Scenarios
