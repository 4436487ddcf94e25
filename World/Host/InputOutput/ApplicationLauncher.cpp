#include "ApplicationLauncher.hpp"

#include "CallReport.hpp"
#include "CallTimer.hpp"
#include "PathLegality.hpp"
#include "ProcessStart.hpp"

#include <string>

namespace IO::Process {

namespace {

constexpr const char* operation = "IO::Process::ApplicationLauncher::Launch";

std::string Describe(const GS::UniString& path, const GS::Array<GS::UniString>& arguments, LaunchMode mode,
                     LaunchOption option) {
    std::string details = "executable=" + CallReport::Quoted(path) + " arguments=[";
    for (UIndex i = 0; i < arguments.GetSize(); ++i) {
        details += (i == 0 ? "" : ",") + CallReport::Quoted(arguments[i]);
    }
    return details + "] mode=" + std::to_string(static_cast<Int32>(mode)) +
           " option=" + std::to_string(static_cast<Int32>(option));
}

[[noreturn]] void Refuse(const char* reason) {
    CallReport::End(operation, [reason] { return std::string("exception=") + reason; });
    throw LaunchException(reason);
}

} // namespace

ApplicationLauncher& ApplicationLauncher::Instance() {
    // Never destroyed: an add-on may still hold the reference while static objects are torn down.
    static ApplicationLauncher* launcher = new ApplicationLauncher;
    return *launcher;
}

GSErrCode ApplicationLauncher::Launch(const Location& executable, const GS::Array<GS::UniString>& arguments,
                                      LaunchMode mode, LaunchOption option) {
    const GS::TimedCall timed(operation);
    GS::UniString path;
    executable.ToPath(&path);
    GSErrCode code = CallReport::Begin(operation, [&] { return Describe(path, arguments, mode, option); });
    if (code == ThrowRequested) {
        Refuse("the host was asked to make the launch throw");
    }
    if (code == NoError) {
        if (path.IsEmpty()) {
            Refuse("the executable's location is empty");
        }
        if (!PathLegality::IsLegalNativePath(path)) {
            Refuse("the executable's location is not legal in the native file system");
        }
        code = mode == LaunchMode::SeparateProcess && option == LaunchOption::DoNotWait
                   ? ProcessStart::StartDetached(path, arguments)
                   : GSErr::BadParameter;
    }
    CallReport::End(operation, [&] { return "code=" + std::to_string(code); });
    return code;
}

} // namespace IO::Process
