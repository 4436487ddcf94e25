#include "AtomicFile.hpp"

#include <fstream>
#include <random>
#include <string>
#include <system_error>

namespace AtomicFile {

Result<> Replace(const std::filesystem::path& target, const Writer& write) {
    if (target.filename().empty()) {
        return Failure{"no file name in " + target.string()};
    }
    std::filesystem::path temporary = target;
    temporary += "." + std::to_string(std::random_device()()) + ".tmp";
    Result<> written = write(temporary);
    std::error_code failure;
    if (written) {
        std::filesystem::rename(temporary, target, failure);
        if (failure) {
            written = Failure{"cannot replace " + target.string() + ": " + failure.message()};
        }
    }
    if (!written) {
        std::filesystem::remove(temporary, failure);
    }
    return written;
}

Result<> ReplaceWith(const std::filesystem::path& target, std::string_view bytes) {
    return Replace(target, [&](const std::filesystem::path& temporary) -> Result<> {
        std::ofstream stream(temporary, std::ios::binary | std::ios::trunc);
        stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        stream.flush();
        if (!stream) {
            return Failure{"cannot write " + temporary.string()};
        }
        return {};
    });
}

} // namespace AtomicFile
