#include "InMemoryZip.hpp"

#include "ZipStreamWriter.hpp"

#include <utility>

namespace SafWorkbook {

ZipResult BuildZip(const std::vector<ZipEntry>& entries) {
    std::string bytes;
    StringSink sink(bytes);
    ZipStreamWriter zip(sink);
    for (const ZipEntry& entry : entries) {
        ZipEntryOptions options;
        options.deflate = entry.deflate;
        if (!zip.BeginEntry(entry.name, options) || !zip.Write(entry.data) || !zip.EndEntry()) {
            return {{}, zip.Error()};
        }
    }
    if (!zip.Finish()) {
        return {{}, zip.Error()};
    }
    return {std::move(bytes), {}};
}

} // namespace SafWorkbook
