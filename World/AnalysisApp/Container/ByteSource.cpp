#include "Container/ByteSource.hpp"

#include <utility>

namespace AnalysisApp {

bool MemorySource::ReadAt(std::uint64_t offset, std::size_t length, std::string& out) const {
    if (offset > bytes.size() || length > bytes.size() - offset) {
        return false;
    }
    out.assign(bytes.substr(static_cast<std::size_t>(offset), length));
    return true;
}

FileSource::FileSource(const std::filesystem::path& path, ReadProgress progress)
    : file(path, std::ios::binary), onRead(std::move(progress)) {
    if (!file) {
        return;
    }
    file.seekg(0, std::ios::end);
    const std::streamoff end = file.tellg();
    if (end < 0) {
        return;
    }
    size = static_cast<std::uint64_t>(end);
    opened = true;
}

bool FileSource::ReadAt(std::uint64_t offset, std::size_t length, std::string& out) const {
    if (!opened || offset > size || length > size - offset) {
        return false;
    }
    out.resize(length);
    file.clear();
    file.seekg(static_cast<std::streamoff>(offset));
    file.read(out.data(), static_cast<std::streamsize>(length));
    const auto got = static_cast<std::size_t>(file.gcount());
    bytesRead += got;
    if (onRead) {
        onRead(bytesRead);
    }
    return got == length;
}

} // namespace AnalysisApp
