#include "RelationChecker.hpp"

#include "ResFormat/ResFileLayout.hpp"

#include <algorithm>

namespace ResConv {

namespace {

constexpr std::string_view DialogKind = "GSDG";
constexpr std::string_view HelpKind = "DLGH";
constexpr std::string_view IconGroupKind = "ICONGROUP";
// A pop-up's height is that of its open list, which may hang below the dialog.
constexpr std::string_view PopUpKeyword = "popup";
constexpr std::int64_t LargestDirectoryByte = 255;

std::vector<const CheckedRecord*> Items(const CheckedResource& resource) {
    std::vector<const CheckedRecord*> items;
    for (const CheckedRecord& record : resource.records) {
        if (!record.isHeader) {
            items.push_back(&record);
        }
    }
    return items;
}

std::string Place(const CheckedResource& resource, std::size_t item, const CheckedRecord& record,
                  std::string_view field) {
    return resource.displayName + ", item " + std::to_string(item) + " (" +
           std::string(record.shape->displayName) + "), field " + std::string(field) + ": ";
}

const CheckedResource* Find(const std::vector<CheckedResource>& resources, std::string_view kindWord,
                            const ResFormat::ResName& name, std::uint16_t language) {
    const auto found = std::find_if(resources.begin(), resources.end(), [&](const CheckedResource& resource) {
        return resource.kind->word == kindWord && resource.name == name && resource.language == language;
    });
    return found == resources.end() ? nullptr : &*found;
}

void CheckDialogItems(const CheckedResource& dialog, Diagnostics& diagnostics) {
    const CheckedRecord& header = dialog.records.front();
    const std::int64_t dialogWidth = header.Field("width").number;
    const std::int64_t dialogHeight = header.Field("height").number;
    const std::vector<const CheckedRecord*> items = Items(dialog);
    for (std::size_t i = 0; i < items.size(); ++i) {
        const CheckedRecord& item = *items[i];
        const std::size_t expected = i + 1;
        const std::int64_t number = item.Field("number").number;
        if (number != static_cast<std::int64_t>(expected)) {
            diagnostics.Report(item.position,
                               Place(dialog, expected, item, "number") + std::to_string(number) +
                                   " is out of order: items are numbered from 1 in the order of "
                                   "their lines, so this one is " +
                                   std::to_string(expected));
        }
        const std::int64_t left = item.Field("left").number;
        const std::int64_t width = item.Field("width").number;
        if (left + width > dialogWidth) {
            diagnostics.Report(item.position, Place(dialog, expected, item, "width") + "left " +
                                                  std::to_string(left) + " + width " + std::to_string(width) +
                                                  " reaches past the dialog's width " +
                                                  std::to_string(dialogWidth));
        }
        const std::int64_t top = item.Field("top").number;
        const std::int64_t height = item.Field("height").number;
        if (item.shape->keyword != PopUpKeyword && top + height > dialogHeight) {
            diagnostics.Report(item.position,
                               Place(dialog, expected, item, "height") + "top " + std::to_string(top) +
                                   " + height " + std::to_string(height) +
                                   " reaches past the dialog's height " + std::to_string(dialogHeight));
        }
    }
}

void CheckHelpRecord(const CheckedResource& help, const std::vector<CheckedResource>& resources,
                     Diagnostics& diagnostics) {
    const std::string dialogName = "dialog " + help.name.ToDisplayString();
    const CheckedResource* dialog = Find(resources, DialogKind, help.name, help.language);
    if (dialog == nullptr) {
        diagnostics.Report(help.position,
                           help.displayName + ": there is no " + dialogName + " for it to describe");
        return;
    }
    const std::vector<const CheckedRecord*> anchors = Items(help);
    const std::vector<const CheckedRecord*> items = Items(*dialog);
    if (anchors.size() != items.size()) {
        diagnostics.Report(help.position, help.displayName + " has " + std::to_string(anchors.size()) +
                                              " anchors for the " + std::to_string(items.size()) +
                                              " items of " + dialogName);
    }
    for (std::size_t i = 0; i < std::min(anchors.size(), items.size()); ++i) {
        const std::int64_t named = anchors[i]->Field("item").number;
        const std::int64_t present = items[i]->Field("number").number;
        if (named != present) {
            diagnostics.Report(anchors[i]->position, Place(help, i + 1, *anchors[i], "item") +
                                                         std::to_string(named) + " where " + dialogName +
                                                         " has item " + std::to_string(present));
        }
    }
}

// The values an entry may state for an image's width, height or bit count.
std::vector<std::int64_t> Allowed(std::int64_t actual, bool zeroAllowed) {
    std::vector<std::int64_t> allowed;
    if (actual <= LargestDirectoryByte) {
        allowed.push_back(actual);
    }
    if (zeroAllowed) {
        allowed.push_back(0);
    }
    return allowed;
}

std::string Alternatives(const std::vector<std::int64_t>& values) {
    std::string text;
    for (std::int64_t value : values) {
        text += (text.empty() ? "" : " or ") + std::to_string(value);
    }
    return text;
}

void CheckEntryStates(const CheckedResource& group, std::size_t item, const CheckedRecord& entry,
                      std::string_view field, std::string_view what, std::int64_t actual, bool zeroAllowed,
                      Diagnostics& diagnostics) {
    const std::vector<std::int64_t> allowed = Allowed(actual, zeroAllowed);
    const std::int64_t stated = entry.Field(field).number;
    if (std::find(allowed.begin(), allowed.end(), stated) == allowed.end()) {
        diagnostics.Report(entry.position, Place(group, item, entry, field) + std::to_string(stated) +
                                               " does not state the image's " + std::string(what) + " " +
                                               std::to_string(actual) + ": it takes " +
                                               Alternatives(allowed));
    }
}

void CheckIconGroup(const CheckedResource& group, const std::vector<CheckedResource>& resources,
                    Diagnostics& diagnostics) {
    const std::vector<const CheckedRecord*> entries = Items(group);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const CheckedRecord& entry = *entries[i];
        const auto number = static_cast<std::uint16_t>(entry.Field("icon").number);
        const CheckedResource* icon =
            Find(resources, "ICON", ResFormat::ResName::Ordinal(number), group.language);
        if (icon == nullptr) {
            diagnostics.Report(entry.position, Place(group, i + 1, entry, "icon") + "there is no icon " +
                                                   std::to_string(number));
            continue;
        }
        const IconImage& image = *icon->records.front().fields.front().image;
        const bool png = image.format == IconImage::Format::Png;
        // 0 stands for 256 in a directory entry; a PNG entry may say 0 whatever its size.
        CheckEntryStates(group, i + 1, entry, "width", "width", image.width, png || image.width == 256,
                         diagnostics);
        CheckEntryStates(group, i + 1, entry, "height", "height", image.height, png || image.height == 256,
                         diagnostics);
        CheckEntryStates(group, i + 1, entry, "bit count", "bit count", 32, png, diagnostics);
    }
}

} // namespace

void CheckRelations(const std::vector<CheckedResource>& resources, Diagnostics& diagnostics) {
    for (const CheckedResource& resource : resources) {
        if (resource.kind->word == DialogKind) {
            CheckDialogItems(resource, diagnostics);
        } else if (resource.kind->word == HelpKind) {
            CheckHelpRecord(resource, resources, diagnostics);
        } else if (resource.kind->word == IconGroupKind) {
            CheckIconGroup(resource, resources, diagnostics);
        }
    }
}

} // namespace ResConv
