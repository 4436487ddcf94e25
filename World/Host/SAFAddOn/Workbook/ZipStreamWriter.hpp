#pragma once

#include "ByteSink.hpp"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// A zip container written entry by entry, each entry's data fed in pieces and deflated as it comes,
// so that nothing of an entry but the compressor's window is held. Sizes and CRC-32 go into the local
// header afterwards (the sink overwrites them). Zip64 records are added exactly where a size, an
// offset or the number of entries needs them. Names are flagged UTF-8 (bit 11); every entry carries
// the same fixed time stamp (1980-01-01 00:00), so one input always gives the same bytes.
namespace SafWorkbook {

struct ZipEntryOptions {
    bool deflate = true; // false: stored as is
    int level = 6;       // zlib's compression level, 1 (fastest) to 9
    // An entry that may pass 4 GiB gets a 20-byte extra field in its local header: padding while the
    // sizes fit in 32 bits, the zip64 sizes when they do not. Other entries over 4 GiB are refused.
    bool mayExceed4GiB = false;
};

// A part of the package and its unpacked size.
struct ZipEntrySize {
    std::string name;
    std::uint64_t size = 0;
};

class ZipStreamWriter {
public:
    explicit ZipStreamWriter(ByteSink& sink);
    ~ZipStreamWriter();
    ZipStreamWriter(const ZipStreamWriter&) = delete;
    ZipStreamWriter& operator=(const ZipStreamWriter&) = delete;

    // Each returns false once anything failed; Error() then says what.
    bool BeginEntry(const std::string& name, const ZipEntryOptions& options = {});
    bool Write(std::string_view data);
    bool EndEntry();
    // The central directory and its end records; the container is complete after it.
    bool Finish();

    const std::string& Error() const { return error; }
    // The entries ended so far, in the order they were written.
    std::vector<ZipEntrySize> EntrySizes() const;

private:
    struct Placed {
        std::string name;
        std::uint16_t method = 0;
        std::uint32_t crc = 0;
        std::uint64_t compressedSize = 0;
        std::uint64_t size = 0;
        std::uint64_t offset = 0;
    };
    struct Compressor;

    bool Fail(std::string reason);
    void PutPacked(std::string_view packed);
    void WriteCentralEntry(const Placed& entry, std::string& out) const;
    void WriteEndRecords(std::uint64_t directoryOffset, std::uint64_t directorySize, std::string& out) const;

    ByteSink& sink;
    std::vector<Placed> placed;
    Placed current;
    ZipEntryOptions currentOptions;
    bool inEntry = false;
    std::unique_ptr<Compressor> compressor;
    std::string error;
};

} // namespace SafWorkbook
