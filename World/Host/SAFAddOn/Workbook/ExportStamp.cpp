#include "ExportStamp.hpp"

#include <cstdint>
#include <cstdio>

namespace SafWorkbook {
namespace {

// FNV-1a, 64 bits, from a chosen starting value.
std::uint64_t Fnv1a(std::string_view text, std::uint64_t hash) {
    for (const char character : text) {
        hash ^= static_cast<unsigned char>(character);
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

// 1970-01-01 is day 25569 of the spreadsheet calendar.
constexpr double UnixEpochSerial = 25569.0;
constexpr double SecondsPerDay = 86400.0;

} // namespace

double SpreadsheetSerial(std::chrono::sys_seconds time) {
    return UnixEpochSerial + static_cast<double>(time.time_since_epoch().count()) / SecondsPerDay;
}

std::string StableGuid(std::string_view seed) {
    const std::uint64_t high = Fnv1a(seed, 0xcbf29ce484222325ULL);
    const std::uint64_t low = Fnv1a(seed, high ^ 0x9e3779b97f4a7c15ULL);
    const auto versioned = static_cast<unsigned>(((high >> 16) & 0x0FFF) | 0x8000);
    const auto variant = static_cast<unsigned>(((low >> 48) & 0x3FFF) | 0x8000);
    char text[40];
    std::snprintf(text, sizeof text, "%08x-%04x-%04x-%04x-%012llx", static_cast<unsigned>(high >> 32),
                  static_cast<unsigned>(high & 0xFFFF), versioned, variant,
                  static_cast<unsigned long long>(low & 0xFFFFFFFFFFFFULL));
    return text;
}

} // namespace SafWorkbook
