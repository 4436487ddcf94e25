#include "Spreadsheet/SpreadsheetPackage.hpp"

#include "Spreadsheet/RichText.hpp"
#include "Xml/XmlReader.hpp"

#include <algorithm>
#include <map>
#include <memory>

namespace AnalysisApp {
namespace {

bool EndsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

struct Relationship {
    std::string type;
    std::string target; // resolved part path
};

// Relationship elements of a .rels part, by Id; external targets are left out.
std::map<std::string, Relationship> ReadRelationships(XmlInput& xml, std::string_view sourcePart,
                                                      std::string& error) {
    struct Relationships final : XmlHandler {
        std::string_view source;
        std::map<std::string, Relationship> found;
        void StartElement(std::string_view name, const XmlAttributes& attributes) override {
            if (name == "Relationship" && attributes.Value("TargetMode") != "External") {
                found[std::string(attributes.Value("Id"))] = {
                    std::string(attributes.Value("Type")),
                    ResolvePartPath(source, attributes.Value("Target"))};
            }
        }
    } relationships;
    relationships.source = sourcePart;
    error = ReadXml(xml, relationships);
    return error.empty() ? std::move(relationships.found) : std::map<std::string, Relationship>();
}

// The sheets that workbook.xml names, in its order, with the parts their relationships give them.
struct SheetList final : XmlHandler {
    const std::map<std::string, Relationship>& relationships;
    std::vector<std::string> names;
    std::vector<std::string> parts;
    // A part that two sheets name would be read once for each: no spreadsheet program writes one.
    std::map<std::string, std::size_t, std::less<>> sheetOfPart;
    std::string problem;

    explicit SheetList(const std::map<std::string, Relationship>& byId) : relationships(byId) {}
    void StartElement(std::string_view name, const XmlAttributes& attributes) override {
        if (name != "sheet" || !problem.empty()) {
            return;
        }
        const auto found = relationships.find(std::string(attributes.Value("id")));
        const std::string part = found == relationships.end() ? std::string() : found->second.target;
        const std::string sheetName(attributes.Value("name"));
        if (!part.empty()) {
            const auto [other, first] = sheetOfPart.emplace(part, names.size());
            if (!first) {
                problem =
                    "sheets " + names[other->second] + " and " + sheetName + " name the same part " + part;
                return;
            }
        }
        names.push_back(sheetName);
        parts.push_back(part);
    }
};

// The texts of a shared-strings part, in order.
struct SharedStringsReader final : XmlHandler {
    SharedStringTable& table;
    RichTextCollector collector;

    explicit SharedStringsReader(SharedStringTable& strings) : table(strings) {}
    void StartElement(std::string_view name, const XmlAttributes& /*attributes*/) override {
        if (name == "si") {
            collector.Take();
        }
        collector.Start(name);
    }
    void EndElement(std::string_view name) override {
        collector.End(name);
        if (name == "si") {
            table.Add(collector.Take());
        }
    }
    void Text(std::string_view text) override { collector.Text(text); }
};

std::string RelationshipsPartOf(std::string_view part) {
    const std::size_t slash = part.rfind('/');
    const std::string_view folder =
        slash == std::string_view::npos ? std::string_view() : part.substr(0, slash + 1);
    const std::string_view file = slash == std::string_view::npos ? part : part.substr(slash + 1);
    return std::string(folder) + "_rels/" + std::string(file) + ".rels";
}

// A zip member's data as the XML parser's input.
class ZipPartInput final : public XmlInput {
public:
    ZipPartInput(const ByteSource& source, const ZipMember& member) : reader(source, member) {}
    bool ReadMore(std::string& out) override { return reader.ReadMore(out); }
    std::string Failure() const override { return reader.Error(); }

private:
    ZipMemberReader reader;
};

} // namespace

std::string_view SheetRow::ValueAt(std::size_t column) const {
    for (const SheetCell& cell : cells) {
        if (cell.column == column) {
            return cell.Value();
        }
    }
    return {};
}

std::string ResolvePartPath(std::string_view sourcePart, std::string_view target) {
    std::string combined;
    if (!target.empty() && target.front() == '/') {
        combined = std::string(target.substr(1));
    } else {
        const std::size_t slash = sourcePart.rfind('/');
        combined = std::string(slash == std::string_view::npos ? std::string_view()
                                                               : sourcePart.substr(0, slash + 1)) +
                   std::string(target);
    }
    std::vector<std::string> segments;
    std::size_t start = 0;
    while (start <= combined.size()) {
        const std::size_t slash = std::min(combined.find('/', start), combined.size());
        const std::string segment = combined.substr(start, slash - start);
        if (segment == "..") {
            if (!segments.empty()) {
                segments.pop_back();
            }
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(segment);
        }
        start = slash + 1;
    }
    std::string path;
    for (const std::string& segment : segments) {
        path += path.empty() ? segment : "/" + segment;
    }
    return path;
}

std::optional<std::size_t> ColumnOfReference(std::string_view reference) {
    std::size_t column = 0;
    std::size_t letters = 0;
    for (const char character : reference) {
        const char upper =
            (character >= 'a' && character <= 'z') ? static_cast<char>(character - 'a' + 'A') : character;
        if (upper < 'A' || upper > 'Z') {
            break;
        }
        column = column * 26 + static_cast<std::size_t>(upper - 'A' + 1);
        if (++letters > 3 || column - 1 > LastColumn) {
            return std::nullopt;
        }
    }
    if (letters == 0) {
        return std::nullopt;
    }
    return column - 1;
}

std::unique_ptr<XmlInput> SpreadsheetPackage::OpenPart(const std::string& path, std::string& error) const {
    const ZipMember* member = FindZipMember(listing, path);
    if (member == nullptr) {
        error = "the workbook has no part " + path;
        return nullptr;
    }
    return std::make_unique<ZipPartInput>(*source, *member);
}

std::string SpreadsheetPackage::Open(std::string_view bytes) {
    source = std::make_unique<MemorySource>(bytes);
    return OpenSource();
}

std::string SpreadsheetPackage::OpenFile(const std::filesystem::path& path, ReadProgress progress) {
    // Opening a FIFO would wait for a writer, and a device or a folder is no workbook.
    std::error_code failure;
    if (!std::filesystem::is_regular_file(path, failure)) {
        return failure ? "cannot read the file" : "not a regular file (a folder, FIFO or device)";
    }
    auto file = std::make_unique<FileSource>(path, std::move(progress));
    if (!file->IsOpen()) {
        return "cannot read the file";
    }
    source = std::move(file);
    return OpenSource();
}

std::string SpreadsheetPackage::OpenSource() {
    listing = ListZip(*source);
    if (!listing.error.empty()) {
        return listing.error;
    }
    std::string error;
    std::string workbookPart = "xl/workbook.xml";
    if (FindZipMember(listing, "_rels/.rels") != nullptr) {
        const std::unique_ptr<XmlInput> rootRelationships = OpenPart("_rels/.rels", error);
        for (const auto& [id, relationship] : ReadRelationships(*rootRelationships, "", error)) {
            if (EndsWith(relationship.type, "/officeDocument")) {
                workbookPart = relationship.target;
            }
        }
        if (!error.empty()) {
            return "_rels/.rels: " + error;
        }
    }
    const std::unique_ptr<XmlInput> workbook = OpenPart(workbookPart, error);
    if (!workbook) {
        return "not a spreadsheet workbook: " + error;
    }
    std::map<std::string, Relationship> relationships;
    const std::string relationshipsPart = RelationshipsPartOf(workbookPart);
    if (FindZipMember(listing, relationshipsPart) != nullptr) {
        const std::unique_ptr<XmlInput> relationshipsXml = OpenPart(relationshipsPart, error);
        relationships = ReadRelationships(*relationshipsXml, workbookPart, error);
        if (!error.empty()) {
            return relationshipsPart + ": " + error;
        }
    }
    SheetList sheets(relationships);
    error = ReadXml(*workbook, sheets);
    if (!sheets.problem.empty()) {
        return workbookPart + ": " + sheets.problem; // met before any fault of the XML after it
    }
    if (!error.empty()) {
        return workbookPart + ": " + error;
    }
    sheetNames = std::move(sheets.names);
    sheetParts = std::move(sheets.parts);
    for (std::size_t index = 0; index < sheetNames.size(); ++index) {
        sheetIndex.emplace(sheetNames[index], index);
    }
    // One shared-strings part, however many relationships name it; two would make every index ambiguous.
    std::string sharedStringsPart;
    for (const auto& [id, relationship] : relationships) {
        if (!EndsWith(relationship.type, "/sharedStrings") || relationship.target == sharedStringsPart) {
            continue;
        }
        if (!sharedStringsPart.empty()) {
            return relationshipsPart + ": more than one shared-strings part (" + sharedStringsPart + ", " +
                   relationship.target + ")";
        }
        sharedStringsPart = relationship.target;
    }
    if (!sharedStringsPart.empty()) {
        error = ReadSharedStrings(sharedStringsPart);
        if (!error.empty()) {
            return error;
        }
    }
    return {};
}

std::string SpreadsheetPackage::ReadSharedStrings(const std::string& path) {
    std::string error;
    const std::unique_ptr<XmlInput> xml = OpenPart(path, error);
    if (!xml) {
        return error;
    }
    SharedStringsReader reader(sharedStrings);
    const std::string failure = ReadXml(*xml, reader);
    return failure.empty() ? std::string() : path + ": " + failure;
}

bool SpreadsheetPackage::HasSheet(std::string_view name) const {
    return sheetIndex.find(std::string(name)) != sheetIndex.end();
}

std::string SpreadsheetPackage::SheetPart(std::string_view name) const {
    const auto found = sheetIndex.find(std::string(name));
    return found == sheetIndex.end() ? std::string() : sheetParts[found->second];
}

} // namespace AnalysisApp
