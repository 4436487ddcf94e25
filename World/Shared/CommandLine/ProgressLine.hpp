#pragma once

#include <chrono>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

namespace CommandLine {

// True when standard error is a terminal: progress is drawn there only, unless a program is asked to
// (`--progress`), so that logs and pipes get no carriage returns.
bool StandardErrorIsTerminal();

// One line on a terminal that follows long work: "PROGRAM: STAGE 42 %" or, when the whole is not
// known, "PROGRAM: STAGE 12.5 MB", drawn again in place as the work reports what it has done, and a
// closing line with what was done and how long it took. The numbers are the work's own (bytes read,
// rows written); it is redrawn only when what it shows changes, so a caller may report often.
class ProgressLine {
public:
    // Draws nothing at all when `shown` is false.
    ProgressLine(std::ostream& out, bool shown, std::string_view program);
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;
    ~ProgressLine();

    enum class Unit { Items, Bytes };
    // A new stage; `total` 0 when the whole is not known beforehand.
    void Stage(std::string_view stage, std::uint64_t total = 0, Unit unit = Unit::Items);
    void Advance(std::uint64_t done);
    // For work that learns its whole only once it has started (a file's size once it is read).
    void Advance(std::uint64_t done, std::uint64_t whole) {
        total = whole;
        Advance(done);
    }
    // Replaces the line with "PROGRAM: WHAT in 1.2 s" (the time since the line was made).
    void Finish(std::string_view what);

    // Ends a line left open by work that stopped, so that the error printed next starts a line.
    void EndLine();

    bool Shown() const { return shown; }

private:
    std::string Shows(std::uint64_t done) const;
    void Draw(const std::string& text);

    std::ostream& out;
    bool shown;
    std::string program;
    std::string stage;
    std::uint64_t total = 0;
    Unit unit = Unit::Items;
    std::string drawn;
    std::size_t width = 0; // of the text on the line now
    bool open = false;
    std::chrono::steady_clock::time_point started;
};

// "12.5 MB", "950 bytes": sizes as a person reads them.
std::string ByteCountText(std::uint64_t bytes);

} // namespace CommandLine
