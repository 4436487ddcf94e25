#pragma once

#include <chrono>
#include <string>
#include <string_view>

// What marks one export: its time, as spreadsheets count dates, and identities that stay the same
// from one export of a model to the next.
namespace SafWorkbook {

// Days since 1899-12-30 with the time of day as the fraction: the serial number a spreadsheet date
// cell holds (for every date after 1900-02-28, where spreadsheets agree).
double SpreadsheetSerial(std::chrono::sys_seconds time);

// A GUID in its usual text form ("8-4-4-4-12" lower-case hex digits) made from `seed` alone: the same
// seed always gives the same GUID. Marked as a version-8 (custom) UUID with the RFC 4122 variant.
std::string StableGuid(std::string_view seed);

} // namespace SafWorkbook
