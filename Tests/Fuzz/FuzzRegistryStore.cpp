#include "FuzzCheck.hpp"
#include "RegistryStore.hpp"

#include <cstddef>
#include <cstdint>
#include <string>

// The registry store's text form, as hostsim reads each hive file. A hive that parses is written and
// parsed again: the second model equals the first, and writing it again gives the same text.
namespace {

namespace Store = GS::RegistryStore;

constexpr const char* HiveName = "HKEY_LOCAL_MACHINE";
constexpr const char* FileName = "LocalMachine.reg";

bool SameValue(const Store::Value& left, const Store::Value& right) {
    return left.name == right.name && left.type == right.type && left.text == right.text &&
           left.bytes == right.bytes;
}

bool SameKey(const Store::Key& left, const Store::Key& right) {
    if (left.name != right.name || left.values.size() != right.values.size() ||
        left.subKeys.size() != right.subKeys.size()) {
        return false;
    }
    for (std::size_t index = 0; index < left.values.size(); ++index) {
        if (!SameValue(left.values[index], right.values[index])) {
            return false;
        }
    }
    for (std::size_t index = 0; index < left.subKeys.size(); ++index) {
        if (!SameKey(left.subKeys[index], right.subKeys[index])) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Store::ParseResult first =
        Store::Parse(reinterpret_cast<const char*>(data), size, HiveName, FileName);
    if (!first.ok) {
        FUZZ_REQUIRE(first.error.rfind(FileName, 0) == 0, "a refusal names the file");
        return 0;
    }
    const std::string written = Store::Write(first.hive);
    const Store::ParseResult second = Store::Parse(written.data(), written.size(), HiveName, FileName);
    if (!second.ok) {
        std::fprintf(stderr, "%s\n", second.error.c_str());
    }
    FUZZ_REQUIRE(second.ok, "a written hive parses");
    FUZZ_REQUIRE(SameKey(first.hive.root, second.hive.root), "it parses to the same keys and values");
    FUZZ_REQUIRE(Store::Write(second.hive) == written, "writing it again gives the same text");
    return 0;
}
