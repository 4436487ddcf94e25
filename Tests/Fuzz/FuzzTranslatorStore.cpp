#include "FuzzCheck.hpp"
#include "TranslatorFile.hpp"

#include <cstddef>
#include <cstdint>
#include <string>

// The SAF add-on's translator store (Translators.json). A store that reads is formatted and read
// again: the same translators in the same order, and formatting that gives the same text.
namespace {

bool SameTranslators(const std::vector<SAF::Translator>& left, const std::vector<SAF::Translator>& right) {
    if (left.size() != right.size()) {
        return false;
    }
    for (std::size_t index = 0; index < left.size(); ++index) {
        if (!(left[index].name == right[index].name) ||
            left[index].elementKinds != right[index].elementKinds ||
            left[index].unitSystem != right[index].unitSystem) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Result<std::vector<SAF::Translator>> first =
        SAF::ParseTranslatorFile(std::string(reinterpret_cast<const char*>(data), size));
    if (!first) {
        FUZZ_REQUIRE(!first.Error().empty(), "a refused store says why");
        return 0;
    }
    const std::string formatted = SAF::FormatTranslatorFile(first.Value());
    const Result<std::vector<SAF::Translator>> second = SAF::ParseTranslatorFile(formatted);
    FUZZ_REQUIRE(second.Ok(), "a formatted store reads");
    FUZZ_REQUIRE(SameTranslators(first.Value(), second.Value()), "it reads as the same translators");
    FUZZ_REQUIRE(SAF::FormatTranslatorFile(second.Value()) == formatted,
                 "formatting again gives the same text");
    return 0;
}
