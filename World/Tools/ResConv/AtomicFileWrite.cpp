#include "AtomicFileWrite.hpp"

#include <fstream>
#include <system_error>

namespace ResConv {

std::optional<std::string> WriteFileAtomically(const std::filesystem::path& path,
                                               std::span<const std::uint8_t> bytes) {
    std::filesystem::path partial = path;
    partial += ".partial";
    {
        std::ofstream stream(partial, std::ios::binary | std::ios::trunc);
        stream.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        stream.flush();
        if (!stream) {
            std::error_code ignored;
            std::filesystem::remove(partial, ignored);
            return "cannot write " + partial.string();
        }
    }
    std::error_code error;
    std::filesystem::rename(partial, path, error);
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(partial, ignored);
        return "cannot replace " + path.string() + ": " + error.message();
    }
    return std::nullopt;
}

} // namespace ResConv
