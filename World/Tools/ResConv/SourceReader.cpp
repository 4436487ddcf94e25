#include "SourceReader.hpp"

#include "SourceLexer.hpp"

#include <optional>
#include <string_view>

namespace ResConv {

namespace {

constexpr std::string_view HeaderKeyword = "resource";
constexpr std::string_view HeaderShape = "\"resource KIND NUMBER language NUMBER\"";

bool IsWord(const SourceValue& value, std::string_view word = {}) {
    return value.kind == ValueKind::Word && (word.empty() || value.text == word);
}

std::optional<ResourceSource> ReadHeader(std::vector<SourceValue>& values, const SourcePosition& position,
                                         Diagnostics& diagnostics) {
    const bool wellFormed = values.size() == 5 && IsWord(values[1]) && !IsWord(values[2]) &&
                            IsWord(values[3], "language") && values[4].kind == ValueKind::Number;
    if (!wellFormed) {
        diagnostics.Report(position, "expected " + std::string(HeaderShape));
        return std::nullopt;
    }
    ResourceSource source;
    source.position = position;
    source.kind = values[1].text;
    source.id = std::move(values[2]);
    source.language = values[4].number;
    return source;
}

class SourceFileReader {
public:
    SourceFileReader(const SourceText& sourceText, Diagnostics& sink)
        : source(sourceText), diagnostics(sink) {}

    std::optional<ResourceSource> Read() {
        int lineNumber = 0;
        for (std::string_view rest = source.bytes; !rest.empty() || lineNumber == 0;) {
            const std::size_t end = rest.find('\n');
            std::string_view line = rest.substr(0, end);
            rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
            if (!line.empty() && line.back() == '\r') {
                line.remove_suffix(1);
            }
            ReadLine(line, SourcePosition{source.name, ++lineNumber});
        }
        if (headerLine == 0 && !failed) {
            Fail(SourcePosition{source.name, 1},
                 "no resource line: a source begins with " + std::string(HeaderShape));
        }
        return failed ? std::nullopt : std::move(resource);
    }

private:
    void ReadLine(std::string_view line, const SourcePosition& position) {
        std::optional<std::vector<SourceValue>> values = LexLine(line, position, diagnostics);
        if (!values) {
            failed = true;
            return;
        }
        if (values->empty()) {
            return;
        }
        if (!IsWord(values->front())) {
            Fail(position, "expected a keyword at the start of the line");
        } else if (values->front().text == HeaderKeyword) {
            ReadHeaderLine(*values, position);
        } else if (headerLine == 0) {
            // After an error (a resource line that could not be split, say) this is likely its echo.
            if (!failed) {
                Fail(position, "\"" + values->front().text + "\" comes before the resource line");
            }
        } else if (resource) {
            std::string keyword = std::move(values->front().text);
            values->erase(values->begin());
            resource->statements.push_back(SourceStatement{position, std::move(keyword), std::move(*values)});
        }
    }

    void ReadHeaderLine(std::vector<SourceValue>& values, const SourcePosition& position) {
        if (headerLine != 0) {
            Fail(position, "a second resource line (the first is at line " + std::to_string(headerLine) +
                               "): each resource has a source file of its own");
            return;
        }
        headerLine = position.line;
        resource = ReadHeader(values, position, diagnostics);
        failed = failed || !resource;
    }

    void Fail(const SourcePosition& position, std::string message) {
        diagnostics.Report(position, std::move(message));
        failed = true;
    }

    const SourceText& source;
    Diagnostics& diagnostics;
    std::optional<ResourceSource> resource;
    // Set by a malformed resource line too, so that the lines after it are not reported again.
    int headerLine = 0;
    bool failed = false;
};

} // namespace

std::vector<ResourceSource> ReadSources(const std::vector<SourceText>& sources, Diagnostics& diagnostics) {
    std::vector<ResourceSource> resources;
    for (const SourceText& source : sources) {
        if (std::optional<ResourceSource> resource = SourceFileReader(source, diagnostics).Read()) {
            resources.push_back(std::move(*resource));
        }
    }
    return resources;
}

} // namespace ResConv
