#pragma once

#include "ZipStreamWriter.hpp"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace HostSim {

// What VELD Engineer's workbook reader takes, checked by the host before it writes a workbook: a
// workbook the reader would refuse must fail the 'SAVE' (so the add-on says so), not be written
// and handed over while the add-on tells the person the model is opening.
struct WorkbookLimits {
    // The largest package part (a sheet's XML, unpacked) the reader takes. VELD Engineer reads each
    // part as a stream and takes any size, so by default nothing is refused; a reader with a cap
    // would set it here.
    std::uint64_t partBytes = std::numeric_limits<std::uint64_t>::max();
};

// The first text in the model that XML 1.0 cannot carry (U+FFFE, U+FFFF, a control character other
// than tab, line feed and carriage return), named with its member: `member curveMembers[3].name
// holds U+FFFE, which XML 1.0 cannot carry`. Empty when every text can be written.
std::string FindTextXmlCannotCarry(const nlohmann::ordered_json& model);
// The same in one value of the model found at `path` ("nodes[3]"), for a model checked one object at
// a time as it is read.
std::string FindTextXmlCannotCarry(const nlohmann::ordered_json& value, const std::string& path);

// The first of a workbook's `parts` whose unpacked size is over the limit, named with both sizes.
// Empty when every part fits.
std::string FindPartTooLargeForReader(const std::vector<SafWorkbook::ZipEntrySize>& parts,
                                      const WorkbookLimits& limits);

} // namespace HostSim
