#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <string_view>

namespace SafWorkbook {

// Where a zip container's bytes go. Bytes are appended; a header written before its entry's sizes were
// known is overwritten in place once they are, so the sink must allow that.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual void Append(std::string_view bytes) = 0;
    virtual void Overwrite(std::uint64_t offset, std::string_view bytes) = 0;
    virtual std::uint64_t Size() const = 0;
    virtual bool Good() const = 0;
};

// Passes every byte on to `target` and tells `written` how many have gone by, for a progress line.
class WatchedSink final : public ByteSink {
public:
    WatchedSink(ByteSink& target, const std::function<void(std::uint64_t)>& watcher)
        : sink(target), written(watcher) {}
    void Append(std::string_view bytes) override {
        sink.Append(bytes);
        written(sink.Size());
    }
    void Overwrite(std::uint64_t offset, std::string_view bytes) override { sink.Overwrite(offset, bytes); }
    std::uint64_t Size() const override { return sink.Size(); }
    bool Good() const override { return sink.Good(); }

private:
    ByteSink& sink;
    const std::function<void(std::uint64_t)>& written;
};

class StringSink final : public ByteSink {
public:
    explicit StringSink(std::string& target) : bytes(target) {}
    void Append(std::string_view data) override { bytes.append(data); }
    void Overwrite(std::uint64_t offset, std::string_view data) override;
    std::uint64_t Size() const override { return bytes.size(); }
    bool Good() const override { return true; }

private:
    std::string& bytes;
};

class FileSink final : public ByteSink {
public:
    explicit FileSink(const std::filesystem::path& path);
    void Append(std::string_view data) override;
    void Overwrite(std::uint64_t offset, std::string_view data) override;
    std::uint64_t Size() const override { return size; }
    bool Good() const override { return static_cast<bool>(file); }
    // Flushes and closes; false when anything written was lost.
    bool Close();

private:
    std::ofstream file;
    std::uint64_t size = 0;
};

} // namespace SafWorkbook
