#include "AtomicReplace.hpp"

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

std::string ReplaceFileAtomically(const std::filesystem::path& target,
                                  const std::function<std::string(const std::filesystem::path&)>& write) {
    if (target.filename().empty()) {
        return "no file name in " + target.string();
    }
    const std::filesystem::path temporary = TemporaryBeside(target);
    const std::string failed = write(temporary);
    std::error_code ignored;
    if (!failed.empty()) {
        std::filesystem::remove(temporary, ignored);
        return failed;
    }
    std::error_code failure;
    std::filesystem::rename(temporary, target, failure);
    if (failure) {
        std::filesystem::remove(temporary, ignored);
        return "cannot replace " + target.string() + ": " + failure.message();
    }
    return {};
}

} // namespace SafWorkbook
