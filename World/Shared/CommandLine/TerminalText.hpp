#pragma once

#include <string>
#include <string_view>

namespace CommandLine {

// Texts that reach a person's terminal often come from outside: a cell, a file name, a script's line,
// an add-on's output. A control character in them (an escape sequence, a bell, a carriage return that
// overwrites the line) would act on the terminal instead of being read, so it is shown as its code:
// "\x1B" for the C0 controls and DEL, "\u009B" for the C1 controls that UTF-8 text can carry (U+0080
// to U+009F, the lead byte 0xC2 and a second byte 0x80 to 0x9F).
enum class LineBreaks {
    Kept,   // tab and line feed pass; a carriage return is "\x0D"
    Escaped // one line: "\t", "\n", "\r"
};

// How `byte` is shown when it is a C0 control or DEL; empty for any other byte.
std::string ControlEscape(unsigned char byte, LineBreaks breaks);

constexpr unsigned char C1LeadByte = 0xC2;
constexpr bool IsC1SecondByte(unsigned char byte) {
    return byte >= 0x80 && byte <= 0x9F;
}
// "\u0080" to "\u009F" for the second byte of a C1 control.
std::string C1Escape(unsigned char secondByte);

// `text` with every control character shown as its code.
std::string TerminalSafe(std::string_view text, LineBreaks breaks);

} // namespace CommandLine
