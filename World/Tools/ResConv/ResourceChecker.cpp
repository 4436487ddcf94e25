#include "ResourceChecker.hpp"

#include "FieldChecker.hpp"
#include "ResFormat/ResFileLayout.hpp"

#include <algorithm>
#include <cstdio>
#include <optional>

namespace ResConv {

namespace {

constexpr std::int64_t HostLanguage = ResFormat::LanguageEnglishUS;

std::string Join(const std::vector<std::string_view>& words) {
    std::string joined;
    for (std::string_view word : words) {
        joined += (joined.empty() ? "" : ", ") + std::string(word);
    }
    return joined;
}

std::string DescribeSourceFields(const RecordShape& shape) {
    std::vector<std::string_view> names;
    for (const FieldShape& field : shape.fields) {
        if (field.origin == FieldOrigin::Source) {
            names.push_back(field.name);
        }
    }
    return Join(names);
}

std::size_t CountSourceFields(const RecordShape& shape) {
    return static_cast<std::size_t>(
        std::count_if(shape.fields.begin(), shape.fields.end(),
                      [](const FieldShape& field) { return field.origin == FieldOrigin::Source; }));
}

std::string ListKeywords(const ResourceKind& kind) {
    std::vector<std::string_view> keywords;
    if (kind.header) {
        keywords.push_back(kind.header->keyword);
    }
    for (const RecordShape& shape : kind.items) {
        keywords.push_back(shape.keyword);
    }
    return Join(keywords);
}

// `"text" lines` for a kind with one item keyword, `item lines` for one with several.
std::string DescribeItemLines(const ResourceKind& kind, std::size_t count) {
    const std::string what =
        kind.items.size() == 1 ? "\"" + std::string(kind.items.front().keyword) + "\" line" : "item line";
    return what + (count == 1 ? "" : "s");
}

// Named resources: Windows compares names ignoring case and tools store them upper-case; the host
// and the .res format take any UTF-16, but these sources write ASCII names only.
std::optional<std::string> NameProblem(const std::string& name) {
    if (name.empty()) {
        return "resource name is empty";
    }
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte > 0x7E) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "0x%02X", byte);
            return "resource name holds byte " + std::string(hex) + ": names are printable ASCII";
        }
    }
    return std::nullopt;
}

class SourceChecker {
public:
    SourceChecker(const ResourceSource& resourceSource, const FileLoader& loadFile, Diagnostics& sink)
        : source(resourceSource), files{loadFile, resourceSource.position.file}, diagnostics(sink) {}

    std::optional<CheckedResource> Check() {
        const ResourceKind* kind = FindResourceKind(source.kind);
        if (kind == nullptr) {
            Fail(source.position,
                 "unknown resource kind \"" + source.kind + "\" (known kinds: " + ListResourceKinds() + ")");
            return std::nullopt;
        }
        CheckedResource resource;
        resource.position = source.position;
        resource.kind = kind;
        resource.displayName = std::string(kind->displayName) + " " + DescribeId();
        CheckName(*kind, resource);
        CheckLanguage(resource);
        CheckLines(*kind, resource);
        return failed ? std::nullopt : std::optional<CheckedResource>(std::move(resource));
    }

private:
    std::string DescribeId() const {
        return source.id.kind == ValueKind::Number ? std::to_string(source.id.number)
                                                   : "\"" + source.id.text + "\"";
    }

    void CheckName(const ResourceKind& kind, CheckedResource& resource) {
        const SourceValue& id = source.id;
        if (id.kind != ValueKind::Number) {
            if (!kind.takesNames) {
                Fail(source.position, std::string(kind.word) + " resources take a number, not a name");
            } else if (const auto problem = NameProblem(id.text)) {
                Fail(source.position, *problem);
            } else {
                resource.name = ResFormat::ResName::NamedUpperCase(id.text);
            }
        } else if (const auto problem = WidthProblem(id.number, FieldType::UInt16)) {
            Fail(source.position, "resource number " + *problem);
        } else if (id.number < kind.firstNumber || id.number > kind.lastNumber) {
            Fail(source.position, "resource number " + std::to_string(id.number) + " is outside " +
                                      std::to_string(kind.firstNumber) + " to " +
                                      std::to_string(kind.lastNumber) + ": " +
                                      std::string(kind.numberRangeReason));
        } else {
            resource.name = ResFormat::ResName::Ordinal(static_cast<std::uint16_t>(id.number));
        }
    }

    void CheckLanguage(CheckedResource& resource) {
        if (const auto problem = WidthProblem(source.language, FieldType::UInt16)) {
            Fail(source.position, "language " + *problem);
        } else if (source.language != HostLanguage) {
            Fail(source.position, "language " + std::to_string(source.language) +
                                      ": the host reads language " + std::to_string(HostLanguage) + " only");
        } else {
            resource.language = static_cast<std::uint16_t>(source.language);
        }
    }

    // A kind's header line comes first and once; every other line is an item, counted from 1.
    void CheckLines(const ResourceKind& kind, CheckedResource& resource) {
        std::size_t items = 0;
        const SourceStatement* header = nullptr;
        for (const SourceStatement& statement : source.statements) {
            if (kind.header && statement.keyword == kind.header->keyword) {
                CheckHeaderLine(kind, statement, header, items, resource);
                header = header != nullptr ? header : &statement;
            } else {
                CheckItem(kind, statement, ++items, resource);
            }
        }
        if (kind.header && header == nullptr) {
            Fail(source.position, resource.displayName + " has no \"" + std::string(kind.header->keyword) +
                                      "\" line: it begins with one");
        }
        CheckItemCount(kind, items, resource);
    }

    void CheckHeaderLine(const ResourceKind& kind, const SourceStatement& statement,
                         const SourceStatement* earlier, std::size_t itemsBefore, CheckedResource& resource) {
        const std::string line = "\"" + std::string(kind.header->keyword) + "\" line";
        if (earlier != nullptr) {
            Fail(statement.position, resource.displayName + ": a second " + line + " (the first is at line " +
                                         std::to_string(earlier->position.line) + ")");
        } else if (itemsBefore > 0) {
            Fail(statement.position,
                 resource.displayName + ": the " + line + " comes before every item line");
        } else {
            CheckRecord(*kind.header, statement, resource.displayName + ", " + line, true, resource);
        }
    }

    void CheckItem(const ResourceKind& kind, const SourceStatement& statement, std::size_t item,
                   CheckedResource& resource) {
        const std::string itemName = resource.displayName + ", item " + std::to_string(item);
        const auto shape =
            std::find_if(kind.items.begin(), kind.items.end(), [&](const RecordShape& candidate) {
                return candidate.keyword == statement.keyword;
            });
        if (shape == kind.items.end()) {
            Fail(statement.position, itemName + ": " + std::string(kind.word) + " has no \"" +
                                         statement.keyword + "\" lines (it takes: " + ListKeywords(kind) +
                                         ")");
            return;
        }
        CheckRecord(*shape, statement, itemName + " (" + std::string(shape->displayName) + ")", false,
                    resource);
    }

    void CheckRecord(const RecordShape& shape, const SourceStatement& statement, const std::string& place,
                     bool isHeader, CheckedResource& resource) {
        const std::size_t expected = CountSourceFields(shape);
        if (statement.values.size() != expected) {
            Fail(statement.position,
                 place + ": \"" + statement.keyword + "\" takes " + std::to_string(expected) + " value(s) (" +
                     DescribeSourceFields(shape) + "), got " + std::to_string(statement.values.size()));
            return;
        }
        CheckedRecord record{statement.position, &shape, isHeader, {}};
        auto value = statement.values.begin();
        for (const FieldShape& field : shape.fields) {
            if (field.origin != FieldOrigin::Source) {
                record.fields.push_back(UnwrittenField(field));
                continue;
            }
            auto checked = CheckSourceField(field, *value++, files);
            if (auto* problem = std::get_if<std::string>(&checked)) {
                Fail(statement.position, place + ", field " + std::string(field.name) + ": " + *problem);
                continue;
            }
            record.fields.push_back(std::move(std::get<CheckedField>(checked)));
        }
        resource.records.push_back(std::move(record));
    }

    void CheckItemCount(const ResourceKind& kind, std::size_t items, const CheckedResource& resource) {
        const std::string has = resource.displayName + " has " + (items == 0 ? "no" : std::to_string(items)) +
                                " " + DescribeItemLines(kind, items) + ": it ";
        if (kind.minimumItems == kind.maximumItems && items != kind.minimumItems) {
            Fail(source.position, has + "takes exactly " + std::to_string(kind.minimumItems));
        } else if (items < kind.minimumItems) {
            Fail(source.position, has + "needs at least " + std::to_string(kind.minimumItems));
        } else if (items > kind.maximumItems) {
            Fail(source.position, has + "takes at most " + std::to_string(kind.maximumItems));
        }
    }

    void Fail(const SourcePosition& position, std::string message) {
        diagnostics.Report(position, std::move(message));
        failed = true;
    }

    const ResourceSource& source;
    FileContext files;
    Diagnostics& diagnostics;
    bool failed = false;
};

bool SameResource(const CheckedResource& left, const CheckedResource& right) {
    return left.kind->type == right.kind->type && left.name == right.name && left.language == right.language;
}

} // namespace

std::vector<CheckedResource> CheckResources(const std::vector<ResourceSource>& sources,
                                            const FileLoader& loadFile, Diagnostics& diagnostics) {
    std::vector<CheckedResource> resources;
    for (const ResourceSource& source : sources) {
        std::optional<CheckedResource> resource = SourceChecker(source, loadFile, diagnostics).Check();
        if (!resource) {
            continue;
        }
        const auto first =
            std::find_if(resources.begin(), resources.end(),
                         [&](const CheckedResource& other) { return SameResource(other, *resource); });
        if (first != resources.end()) {
            diagnostics.Report(resource->position, "duplicate resource " + std::string(resource->kind->word) +
                                                       " " + resource->name.ToDisplayString() + " language " +
                                                       std::to_string(resource->language) + " (first at " +
                                                       first->position.file + ":" +
                                                       std::to_string(first->position.line) + ")");
            continue;
        }
        resources.push_back(std::move(*resource));
    }
    return resources;
}

} // namespace ResConv
