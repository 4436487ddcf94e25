#include "WindowsCommandLine.hpp"

#include <string_view>

namespace IO::Process::WindowsCommandLine {

namespace {

bool NeedsQuotes(const GS::UniString& argument) {
    if (argument.IsEmpty()) {
        return true;
    }
    for (UIndex i = 0; i < argument.GetLength(); ++i) {
        if (std::u16string_view(u" \t\n\v\"").find(argument[i]) != std::u16string_view::npos) {
            return true;
        }
    }
    return false;
}

void AppendBackslashes(GS::UniString& text, UIndex count) {
    for (UIndex i = 0; i < count; ++i) {
        text += u'\\';
    }
}

} // namespace

GS::UniString QuoteArgument(const GS::UniString& argument) {
    if (!NeedsQuotes(argument)) {
        return argument;
    }
    GS::UniString quoted(u"\"");
    UIndex pendingBackslashes = 0;
    for (UIndex i = 0; i < argument.GetLength(); ++i) {
        const char16_t unit = argument[i];
        if (unit == u'\\') {
            ++pendingBackslashes;
            continue;
        }
        if (unit == u'"') {
            AppendBackslashes(quoted, 2 * pendingBackslashes + 1);
        } else {
            AppendBackslashes(quoted, pendingBackslashes);
        }
        pendingBackslashes = 0;
        quoted += unit;
    }
    // The closing quote must not be escaped by backslashes at the end of the text.
    AppendBackslashes(quoted, 2 * pendingBackslashes);
    quoted += u'"';
    return quoted;
}

GS::UniString Build(const GS::UniString& programPath, const GS::Array<GS::UniString>& arguments) {
    GS::UniString line(u"\"");
    line += programPath;
    line += u'"';
    for (const GS::UniString& argument : arguments) {
        line += u' ';
        line += QuoteArgument(argument);
    }
    return line;
}

} // namespace IO::Process::WindowsCommandLine
