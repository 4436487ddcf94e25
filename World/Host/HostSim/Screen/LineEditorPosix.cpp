#include "Screen/LineEditor.hpp"
#include "Screen/RelayedText.hpp"

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <utility>

#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#if VELD_HAVE_LIBEDIT
#include <editline/readline.h>
#endif

namespace HostSim::LineEditor {

namespace {

// The started programs' pipe while relaying, else -1; and their text on its way.
int relayed = -1;
RelayedText relayedText;

// What is in the pipe now, without waiting, up to a bound: a program that writes without pause must
// not keep a person's keys waiting. At the pipe's end (every program gone, and hostsim no longer
// handing it out) relaying stops.
std::string ReadRelayed() {
    constexpr std::size_t Bound = 64 * 1024;
    std::string text;
    char bytes[4096];
    while (text.size() < Bound) {
        const ssize_t count = ::read(relayed, bytes, sizeof bytes);
        if (count > 0) {
            text.append(bytes, static_cast<std::size_t>(count));
        } else if (count < 0 && errno == EINTR) {
            continue;
        } else {
            if (count == 0) {
                relayed = -1;
            }
            return text;
        }
    }
    return text;
}

// The screen columns `text` takes: one a character, not a byte (UTF-8 continuation bytes take none).
std::size_t Columns(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char byte) {
        return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
    }));
}

// Takes the cursor from where the prompt's line is being edited to the start of the prompt's first
// screen line and clears from there down: a long line wraps over several.
std::string ClearPrompt(std::size_t columnsBeforeCursor) {
    winsize size{};
    std::size_t rowsUp = 0;
    if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) {
        rowsUp = columnsBeforeCursor / size.ws_col;
    }
    return (rowsUp > 0 ? "\x1b[" + std::to_string(rowsUp) + "A" : std::string()) + "\r\x1b[J";
}

// Writes what the programs said in place of the prompt; true when the prompt must be drawn again.
bool RelayText(std::size_t columnsBeforeCursor) {
    const std::string text = relayedText.Take(ReadRelayed());
    if (text.empty()) {
        return false;
    }
    const std::string shown = ClearPrompt(columnsBeforeCursor) + text;
    WriteToTerminal(shown.data(), shown.size());
    return true;
}

// Waits for typing or for the programs' text; true when there is something to read from the terminal,
// false when the terminal has gone (or cannot be waited on).
template <typename Redraw>
bool AwaitInput(Redraw redraw) {
    for (;;) {
        pollfd waits[2] = {{STDIN_FILENO, POLLIN, 0}, {relayed, POLLIN, 0}};
        if (::poll(waits, relayed >= 0 ? 2 : 1, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        if (relayed >= 0 && waits[1].revents != 0) {
            redraw();
        }
        if ((waits[0].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
            return false;
        }
        if ((waits[0].revents & POLLIN) != 0) {
            return true;
        }
    }
}

#if VELD_HAVE_LIBEDIT
// Whether the editor has handed over a line, whether there was one (none at the end of the input),
// and the line. Kept as a plain string and a flag: an optional string here trips GCC's
// maybe-uninitialised warning in optimised builds.
bool lineDone = false;
bool lineGiven = false;
std::string doneLine;

void TakeLine(char* line) {
    lineDone = true;
    lineGiven = line != nullptr;
    doneLine = lineGiven ? line : "";
    std::free(line); // the editor's copy is the handler's to free (free of null does nothing)
}
#endif

} // namespace

bool Available() {
#if VELD_HAVE_LIBEDIT
    return ::isatty(STDIN_FILENO) == 1 && ::isatty(STDOUT_FILENO) == 1;
#else
    return false;
#endif
}

std::optional<std::string> ReadLine(const std::string& prompt) {
#if VELD_HAVE_LIBEDIT
    // The editor's callback form takes one key at a time, so that the programs' text can be written
    // between two keys, and the prompt and the line so far drawn again below it.
    // The editor reads and shows characters by the locale's character type: in the "C" locale every
    // letter beyond ASCII typed at the prompt would be dropped. Only the character type is taken from
    // the environment; numbers stay written as the "C" locale writes them.
    static const bool localeSet = std::setlocale(LC_CTYPE, "") != nullptr;
    static_cast<void>(localeSet);
    lineDone = false;
    lineGiven = false;
    ::rl_callback_handler_install(prompt.c_str(), TakeLine);
    const auto redraw = [&prompt] {
        const std::string_view typed(::rl_line_buffer, static_cast<std::size_t>(::rl_point));
        if (RelayText(Columns(prompt) + Columns(typed))) {
            ::rl_forced_update_display();
        }
    };
    while (!lineDone && AwaitInput(redraw)) {
        ::rl_callback_read_char();
    }
    ::rl_callback_handler_remove();
    if (!lineDone || !lineGiven) {
        return std::nullopt;
    }
    std::string line = std::move(doneLine);
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

void WriteToTerminal(const char* text, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(STDOUT_FILENO, text, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return; // the terminal is gone: nobody is left to read it
        }
        text += written;
        size -= static_cast<std::size_t>(written);
    }
}

std::string RelayAbovePrompt(int descriptor) {
    relayed = descriptor;
    return relayedText.Rest();
}

void AwaitTyping(const std::string& prompt) {
    if (relayed < 0) {
        return;
    }
    AwaitInput([&prompt] {
        if (RelayText(Columns(prompt))) {
            WriteToTerminal(prompt.data(), prompt.size());
        }
    });
}

} // namespace HostSim::LineEditor
