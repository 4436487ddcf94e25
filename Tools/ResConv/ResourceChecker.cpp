#include "ResourceChecker.hpp"

#include "ResFormat/ResFileLayout.hpp"

#include <algorithm>
#include <optional>

namespace ResConv {

namespace {

constexpr std::int64_t HostLanguage = ResFormat::LanguageEnglishUS;

std::optional<std::string> WidthProblem(std::int64_t value, FieldType type) {
    if (type == FieldType::UInt16 && (value < 0 || value > 0xFFFF)) {
        return std::to_string(value) + " does not fit in 16 bits";
    }
    return std::nullopt;
}

std::string DescribeValue(const SourceValue& value) {
    switch (value.kind) {
    case ValueKind::Number:
        return "the number " + std::to_string(value.number);
    case ValueKind::Word:
        return "the word " + value.text;
    case ValueKind::Text:
        break;
    }
    return "a quoted text";
}

std::string DescribeFields(const RecordShape& shape) {
    std::string names;
    for (const FieldShape& field : shape.fields) {
        names += (names.empty() ? "" : ", ") + std::string(field.name);
    }
    return names;
}

std::string ListKeywords(const ResourceKind& kind) {
    std::string keywords;
    for (const RecordShape& shape : kind.records) {
        keywords += (keywords.empty() ? "" : ", ") + std::string(shape.keyword);
    }
    return keywords;
}

class SourceChecker {
public:
    SourceChecker(const ResourceSource& resourceSource, Diagnostics& sink)
        : source(resourceSource), diagnostics(sink) {}

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
        CheckNumber(*kind, resource);
        CheckLanguage(resource);
        for (std::size_t i = 0; i < source.statements.size(); ++i) {
            CheckRecord(*kind, source.statements[i], i + 1, resource);
        }
        if (source.statements.size() < kind->minimumRecords) {
            Fail(source.position, std::string(kind->word) + " " + DescribeId() +
                                      " is empty: it needs at least " + std::to_string(kind->minimumRecords) +
                                      " \"" + std::string(kind->records.front().keyword) + "\" line");
        }
        return failed ? std::nullopt : std::optional<CheckedResource>(std::move(resource));
    }

private:
    std::string DescribeId() const {
        return source.id.kind == ValueKind::Number ? std::to_string(source.id.number)
                                                   : "\"" + source.id.text + "\"";
    }

    void CheckNumber(const ResourceKind& kind, CheckedResource& resource) {
        const SourceValue& id = source.id;
        if (id.kind != ValueKind::Number) {
            Fail(source.position, std::string(kind.word) + " resources take a number, not a name");
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

    void CheckRecord(const ResourceKind& kind, const SourceStatement& statement, std::size_t item,
                     CheckedResource& resource) {
        const std::string itemName = "item " + std::to_string(item);
        const RecordShape* shape = FindShape(kind, statement.keyword);
        if (shape == nullptr) {
            Fail(statement.position, itemName + ": " + std::string(kind.word) + " has no \"" +
                                         statement.keyword + "\" lines (it takes: " + ListKeywords(kind) +
                                         ")");
            return;
        }
        if (statement.values.size() != shape->fields.size()) {
            Fail(statement.position, itemName + ": \"" + statement.keyword + "\" takes " +
                                         std::to_string(shape->fields.size()) + " value(s) (" +
                                         DescribeFields(*shape) + "), got " +
                                         std::to_string(statement.values.size()));
            return;
        }
        CheckedRecord record;
        for (std::size_t i = 0; i < shape->fields.size(); ++i) {
            const FieldShape& field = shape->fields[i];
            const auto problem = FieldProblem(field.type, statement.values[i]);
            if (problem) {
                Fail(statement.position, itemName + ", field " + std::string(field.name) + ": " + *problem);
            }
            record.fields.push_back(
                CheckedField{field.type, statement.values[i].number, statement.values[i].text});
        }
        resource.records.push_back(std::move(record));
    }

    static const RecordShape* FindShape(const ResourceKind& kind, const std::string& keyword) {
        for (const RecordShape& shape : kind.records) {
            if (shape.keyword == keyword) {
                return &shape;
            }
        }
        return nullptr;
    }

    static std::optional<std::string> FieldProblem(FieldType type, const SourceValue& value) {
        if (type == FieldType::Text8) {
            if (value.kind != ValueKind::Text) {
                return "expected a quoted text, got " + DescribeValue(value);
            }
            if (value.text.find('\0') != std::string::npos) {
                return std::string("holds a NUL byte, which would end the text early");
            }
            return std::nullopt;
        }
        if (value.kind != ValueKind::Number) {
            return "expected a number, got " + DescribeValue(value);
        }
        return WidthProblem(value.number, type);
    }

    void Fail(const SourcePosition& position, std::string message) {
        diagnostics.Report(position, std::move(message));
        failed = true;
    }

    const ResourceSource& source;
    Diagnostics& diagnostics;
    bool failed = false;
};

bool SameResource(const CheckedResource& left, const CheckedResource& right) {
    return left.kind->type == right.kind->type && left.name == right.name && left.language == right.language;
}

} // namespace

std::vector<CheckedResource> CheckResources(const std::vector<ResourceSource>& sources,
                                            Diagnostics& diagnostics) {
    std::vector<CheckedResource> resources;
    for (const ResourceSource& source : sources) {
        std::optional<CheckedResource> resource = SourceChecker(source, diagnostics).Check();
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
