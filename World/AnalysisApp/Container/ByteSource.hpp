#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <string_view>

namespace AnalysisApp {

// Random access to the bytes of a workbook, in memory or in a file, so that a workbook of any size is
// read piece by piece and never as a whole.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t Size() const = 0;
    // Exactly `length` bytes from `offset` into `out` (replacing it); false when they are not all there.
    virtual bool ReadAt(std::uint64_t offset, std::size_t length, std::string& out) const = 0;
};

class MemorySource final : public ByteSource {
public:
    explicit MemorySource(std::string_view data) : bytes(data) {}
    std::uint64_t Size() const override { return bytes.size(); }
    bool ReadAt(std::uint64_t offset, std::size_t length, std::string& out) const override;

private:
    std::string_view bytes;
};

// Told how many bytes a file source has read so far, each time it reads: a long read's progress.
using ReadProgress = std::function<void(std::uint64_t bytesRead)>;

class FileSource final : public ByteSource {
public:
    explicit FileSource(const std::filesystem::path& path, ReadProgress progress = {});
    bool IsOpen() const { return opened; }
    std::uint64_t Size() const override { return size; }
    bool ReadAt(std::uint64_t offset, std::size_t length, std::string& out) const override;

private:
    mutable std::ifstream file;
    ReadProgress onRead;
    mutable std::uint64_t bytesRead = 0;
    std::uint64_t size = 0;
    bool opened = false;
};

} // namespace AnalysisApp
