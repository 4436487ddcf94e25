#include "Compiler.hpp"

#include "PayloadWriter.hpp"
#include "RelationChecker.hpp"
#include "ResFileWriter.hpp"
#include "ResourceChecker.hpp"
#include "SourceReader.hpp"

namespace ResConv {

namespace {

bool IsIconGroup(const CheckedResource& resource) {
    return resource.kind->layout == PayloadLayout::IconDirectory;
}

} // namespace

Compilation CompileSources(const std::vector<SourceText>& sources, const FileLoader& loadFile) {
    Compilation compilation;
    const std::vector<ResourceSource> read = ReadSources(sources, compilation.diagnostics);
    const std::vector<CheckedResource> checked = CheckResources(read, loadFile, compilation.diagnostics);
    // A resource left out for its own errors would be reported again by every resource naming it.
    if (!compilation.diagnostics.HasErrors()) {
        CheckRelations(checked, compilation.diagnostics);
    }
    if (compilation.diagnostics.HasErrors()) {
        return compilation;
    }
    // Icon groups state their icons' byte sizes, so they are written after everything else; the file
    // keeps the order of the sources.
    std::vector<ResFormat::ResourceEntry> entries(checked.size());
    std::vector<ResFormat::ResourceEntry> written;
    for (std::size_t i = 0; i < checked.size(); ++i) {
        if (!IsIconGroup(checked[i])) {
            entries[i] = WriteResourceEntry(checked[i], written);
            written.push_back(entries[i]);
        }
    }
    for (std::size_t i = 0; i < checked.size(); ++i) {
        if (IsIconGroup(checked[i])) {
            entries[i] = WriteResourceEntry(checked[i], written);
        }
    }
    compilation.resFile = WriteResFile(entries);
    return compilation;
}

} // namespace ResConv
