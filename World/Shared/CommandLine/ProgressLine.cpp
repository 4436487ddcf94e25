#include "ProgressLine.hpp"

#include <cstdio>
#include <ostream>

namespace CommandLine {

namespace {

std::string OneDecimal(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

} // namespace

std::string ByteCountText(std::uint64_t bytes) {
    if (bytes < 1000) {
        return std::to_string(bytes) + " bytes";
    }
    if (bytes < 1000 * 1000) {
        return std::to_string(bytes / 1000) + " kB";
    }
    return OneDecimal(static_cast<double>(bytes) / 1e6) + " MB";
}

ProgressLine::ProgressLine(std::ostream& stream, bool show, std::string_view name)
    : out(stream), shown(show), program(name), started(std::chrono::steady_clock::now()) {}

ProgressLine::~ProgressLine() {
    EndLine();
}

void ProgressLine::Stage(std::string_view name, std::uint64_t whole, Unit counted) {
    stage = name;
    total = whole;
    unit = counted;
    Advance(0);
}

std::string ProgressLine::Shows(std::uint64_t done) const {
    std::string text = program + ": " + stage;
    if (total > 0) {
        const std::uint64_t percent = done >= total ? 100 : done * 100 / total;
        return text + " " + std::to_string(percent) + " %";
    }
    if (done == 0) {
        return text;
    }
    if (unit == Unit::Bytes) {
        return text + " " + ByteCountText(done);
    }
    // Whole thousands once past them, so that the line changes a few hundred times at most.
    return text + " " + std::to_string(done >= 10000 ? done / 1000 * 1000 : done);
}

void ProgressLine::Advance(std::uint64_t done) {
    if (!shown) {
        return;
    }
    std::string text = Shows(done);
    if (text != drawn) {
        Draw(text);
        drawn = std::move(text);
    }
}

void ProgressLine::Draw(const std::string& text) {
    // Carriage return, the text, then blanks over what a longer line before it left on the right
    // (blanks rather than an erase sequence, which not every Windows console understands).
    out << '\r' << text;
    if (text.size() < width) {
        out << std::string(width - text.size(), ' ');
    }
    out << std::flush;
    width = text.size();
    open = true;
}

void ProgressLine::EndLine() {
    if (open) {
        out << '\n' << std::flush;
        open = false;
        drawn.clear();
        width = 0;
    }
}

void ProgressLine::Finish(std::string_view what) {
    if (!shown) {
        return;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    Draw(program + ": " + std::string(what) + " in " + OneDecimal(seconds) + " s");
    EndLine();
}

} // namespace CommandLine
