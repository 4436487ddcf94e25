#include "Compiler.hpp"

#include "PayloadWriter.hpp"
#include "ResFileWriter.hpp"
#include "ResourceChecker.hpp"
#include "SourceReader.hpp"

namespace ResConv {

Compilation CompileSources(const std::vector<SourceText>& sources) {
    Compilation compilation;
    const std::vector<ResourceSource> read = ReadSources(sources, compilation.diagnostics);
    const std::vector<CheckedResource> checked = CheckResources(read, compilation.diagnostics);
    if (compilation.diagnostics.HasErrors()) {
        return compilation;
    }
    std::vector<ResFormat::ResourceEntry> entries;
    for (const CheckedResource& resource : checked) {
        entries.push_back(WriteResourceEntry(resource));
    }
    compilation.resFile = WriteResFile(entries);
    return compilation;
}

} // namespace ResConv
