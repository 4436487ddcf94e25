#pragma once

#include "AddressText.hpp"
#include "GSTypes.hpp"

#include <cstddef>
#include <string>

namespace HostSim {

// How the transcript and the console show values that are not text.

// "0x81060387" for any code: the form error codes are looked up by.
std::string FormatResultCodeHex(GSErrCode code);
// "not found, 0x81060003": the host's common codes in words, then the hex form; others in hex alone.
std::string DescribeResultCode(GSErrCode code);
// "GSPF" for a four-letter code whose bytes are printable, else its hex form.
std::string FourLetterText(UInt32 code);
// Lower-case hex digits, two per byte, no separators.
std::string HexOf(const UInt8* bytes, std::size_t count);
using HostText::AddressText;

} // namespace HostSim
