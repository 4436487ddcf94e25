#include "ByteSink.hpp"

#include <algorithm>

namespace SafWorkbook {

void StringSink::Overwrite(std::uint64_t offset, std::string_view data) {
    std::copy(data.begin(), data.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
}

FileSink::FileSink(const std::filesystem::path& path) : file(path, std::ios::binary | std::ios::trunc) {}

void FileSink::Append(std::string_view data) {
    file.write(data.data(), static_cast<std::streamsize>(data.size()));
    size += data.size();
}

void FileSink::Overwrite(std::uint64_t offset, std::string_view data) {
    file.seekp(static_cast<std::streamoff>(offset));
    file.write(data.data(), static_cast<std::streamsize>(data.size()));
    file.seekp(0, std::ios::end);
}

bool FileSink::Close() {
    file.close();
    return static_cast<bool>(file);
}

} // namespace SafWorkbook
