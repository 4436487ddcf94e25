#include "AtomicReplace.hpp"

#include <fstream>
#include <random>
#include <system_error>

namespace SafWorkbook {
namespace {

std::filesystem::path TemporaryBeside(const std::filesystem::path& target) {
    std::random_device entropy;
    const std::string suffix = std::to_string(entropy()) + ".tmp";
    std::filesystem::path name = target.filename();
    name += "." + suffix;
    return target.parent_path() / name;
}

} // namespace

std::string WriteFileAtomically(const std::filesystem::path& target, const std::string& bytes) {
    if (target.filename().empty()) {
        return "no file name in " + target.string();
    }
    const std::filesystem::path temporary = TemporaryBeside(target);
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        if (!file) {
            return "cannot create " + temporary.string();
        }
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        file.close();
        if (!file) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return "cannot write " + temporary.string();
        }
    }
    std::error_code failure;
    std::filesystem::rename(temporary, target, failure);
    if (failure) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return "cannot replace " + target.string() + ": " + failure.message();
    }
    return {};
}

} // namespace SafWorkbook
