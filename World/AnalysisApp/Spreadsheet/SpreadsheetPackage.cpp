#include "Spreadsheet/SpreadsheetPackage.hpp"

#include "Xml/RichText.hpp"
#include "Xml/XmlPullParser.hpp"

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
    std::map<std::string, Relationship> relationships;
    XmlPullParser parser(xml);
    for (XmlEvent event = parser.Next(); event.kind != XmlEventKind::Done; event = parser.Next()) {
        if (event.kind == XmlEventKind::Error) {
            error = event.text;
            return {};
        }
        if (event.kind == XmlEventKind::Start && event.name == "Relationship" &&
            event.Attribute("TargetMode") != "External") {
            relationships[event.Attribute("Id")] = {event.Attribute("Type"),
                                                    ResolvePartPath(sourcePart, event.Attribute("Target"))};
        }
    }
    return relationships;
}

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
    XmlPullParser parser(*workbook);
    // A part that two sheets name would be read once for each: no spreadsheet program writes one.
    std::map<std::string_view, std::size_t> sheetOfPart;
    for (XmlEvent event = parser.Next(); event.kind != XmlEventKind::Done; event = parser.Next()) {
        if (event.kind == XmlEventKind::Error) {
            return workbookPart + ": " + event.text;
        }
        if (event.kind == XmlEventKind::Start && event.name == "sheet") {
            const auto found = relationships.find(event.Attribute("id"));
            const std::string part = found == relationships.end() ? std::string() : found->second.target;
            if (!part.empty()) {
                const auto [other, first] = sheetOfPart.emplace(found->second.target, sheetNames.size());
                if (!first) {
                    return workbookPart + ": sheets " + sheetNames[other->second] + " and " +
                           event.Attribute("name") + " name the same part " + part;
                }
            }
            sheetIndex.emplace(event.Attribute("name"), sheetNames.size());
            sheetNames.push_back(event.Attribute("name"));
            sheetParts.push_back(part);
        }
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
    RichTextCollector collector;
    XmlPullParser parser(*xml);
    for (XmlEvent event = parser.Next(); event.kind != XmlEventKind::Done; event = parser.Next()) {
        switch (event.kind) {
        case XmlEventKind::Error:
            return path + ": " + event.text;
        case XmlEventKind::Start:
            if (event.name == "si") {
                collector.Take();
            }
            collector.Start(event.name);
            break;
        case XmlEventKind::End:
            collector.End(event.name);
            if (event.name == "si") {
                sharedStrings.Add(collector.Take());
            }
            break;
        case XmlEventKind::Text:
            collector.Text(event.text);
            break;
        case XmlEventKind::Done:
            break;
        }
    }
    return {};
}

bool SpreadsheetPackage::HasSheet(std::string_view name) const {
    return sheetIndex.find(std::string(name)) != sheetIndex.end();
}

std::string SpreadsheetPackage::SheetPart(std::string_view name) const {
    const auto found = sheetIndex.find(std::string(name));
    return found == sheetIndex.end() ? std::string() : sheetParts[found->second];
}

} // namespace AnalysisApp
