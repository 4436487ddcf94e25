#include "Screen/LineEditor.hpp"

#include <cstdlib>
#include <memory>

#include <unistd.h>

#if VELD_HAVE_LIBEDIT
#include <editline/readline.h>
#endif

namespace HostSim::LineEditor {

bool Available() {
#if VELD_HAVE_LIBEDIT
    return ::isatty(STDIN_FILENO) == 1 && ::isatty(STDOUT_FILENO) == 1;
#else
    return false;
#endif
}

std::optional<std::string> ReadLine(const std::string& prompt) {
#if VELD_HAVE_LIBEDIT
    const std::unique_ptr<char, decltype(&std::free)> typed(::readline(prompt.c_str()), &std::free);
    if (typed == nullptr) {
        return std::nullopt;
    }
    std::string line(typed.get());
    // Blank lines and a repeat of the line before would only lengthen the way back up the history.
    if (line.find_first_not_of(" \t") != std::string::npos) {
        const HIST_ENTRY* last = ::history_get(::history_base + ::history_length - 1);
        if (last == nullptr || line != last->line) {
            ::add_history(line.c_str());
        }
    }
    return line;
#else
    static_cast<void>(prompt);
    return std::nullopt;
#endif
}

} // namespace HostSim::LineEditor
