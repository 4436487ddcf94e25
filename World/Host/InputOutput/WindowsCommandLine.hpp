#pragma once

#include "Array.hpp"
#include "UniString.hpp"

// Windows hands a program one command-line string; the program's C runtime splits it into argv.
// These functions build the string so that the split gives back exactly the texts given. Plain
// functions of text, so they are checked on every platform.
//
// The C runtime's rules for arguments after the program name: spaces and tabs separate arguments
// outside quotes; a quote toggles quoting; 2n backslashes before a quote become n backslashes and
// the quote toggles, 2n+1 become n backslashes and a literal quote; backslashes not followed by a
// quote are literal. The program name itself is read up to the closing quote with no escapes.
namespace IO::Process::WindowsCommandLine {

// `argument` as one command-line word: unchanged when it is not empty and holds no space, tab,
// line break, vertical tab or quote; otherwise in quotes, with each quote escaped and the
// backslashes before a quote or before the closing quote doubled.
GS::UniString QuoteArgument(const GS::UniString& argument);

// The whole command line: the program path in quotes (a Windows path cannot hold a quote), then
// each argument quoted, separated by single spaces.
GS::UniString Build(const GS::UniString& programPath, const GS::Array<GS::UniString>& arguments);

} // namespace IO::Process::WindowsCommandLine
