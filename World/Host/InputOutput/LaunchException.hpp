#pragma once

#include "InputOutputExport.hpp"

#include <exception>

namespace IO::Process {

// Thrown by ApplicationLauncher::Launch when it is handed something it cannot start at all (as
// opposed to a start that fails, which is answered with a code). Holds no heap memory: the text is
// a literal owned by the library, valid for the life of the process.
class INPUTOUTPUT_API LaunchException : public std::exception {
public:
    explicit LaunchException(const char* reason) noexcept;
    const char* what() const noexcept override;

private:
    const char* reason;
};

} // namespace IO::Process
