#include "JsonDocumentReader.hpp"

#include <algorithm>
#include <iterator>

namespace JsonDocument {

namespace {

using Json = nlohmann::ordered_json;

std::string PlaceOfByte(const std::string& text, std::size_t offset) {
    // The parser counts offsets from 1.
    const std::size_t end = std::min(offset > 0 ? offset - 1 : 0, text.size());
    std::size_t line = 1;
    std::size_t column = 1;
    for (std::size_t index = 0; index < end; ++index) {
        if (text[index] == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

// Builds the document as the parser reports it, remembering which member is being read.
class Builder final : public nlohmann::json_sax<Json> {
public:
    using Integer = Json::number_integer_t;
    using Unsigned = Json::number_unsigned_t;
    using Float = Json::number_float_t;
    using String = Json::string_t;
    using Binary = Json::binary_t;

    Builder(const std::string& source, std::size_t depthLimit) : text(source), maxDepth(depthLimit) {}

    bool null() override { return Put(nullptr); }
    bool boolean(bool value) override { return Put(value); }
    bool number_integer(Integer value) override { return Put(value); }
    bool number_unsigned(Unsigned value) override { return Put(value); }
    bool number_float(Float value, const String&) override { return Put(value); }
    bool string(String& value) override { return Put(std::move(value)); }
    bool binary(Binary& value) override { return Put(Json::binary(std::move(value))); }

    bool start_object(std::size_t) override { return Open(Json::object()); }
    bool start_array(std::size_t) override { return Open(Json::array()); }
    bool end_object() override { return Close(); }
    bool end_array() override { return Close(); }
    bool key(String& name) override {
        pendingKey = name;
        return true;
    }

    bool parse_error(std::size_t position, const std::string&,
                     const nlohmann::detail::exception& fault) override {
        std::string what = fault.what();
        // Past the library's own "[json.exception.parse_error.101] parse error at line 1, column 2: ".
        if (fault.id / 100 == 1) {
            const std::size_t colon = what.find(": ");
            what = colon == std::string::npos ? what : what.substr(colon + 2);
            error = PlaceOfByte(text, position) + ": " + what;
        } else {
            const std::size_t bracket = what.find("] ");
            what = bracket == std::string::npos ? what : what.substr(bracket + 2);
            error = MemberPath() + ": a number out of range: " + what;
        }
        return false;
    }

    Json Take() { return std::move(root); }
    const std::string& Error() const { return error; }

private:
    struct Level {
        Json* container;
        std::string slot; // ".key" or "[2]": where it sits in its parent
    };

    // The slot of the innermost open container that the next value goes into: ".key" or "[2]".
    std::string NextSlotName() const {
        const Level& level = open.back();
        return level.container->is_object() ? "." + pendingKey
                                            : "[" + std::to_string(level.container->size()) + "]";
    }

    // The place the next value goes: "member a.b[2]" (or "the document" at the top).
    std::string MemberPath() const {
        std::string path;
        for (const Level& level : open) {
            path += level.slot;
        }
        if (!open.empty()) {
            path += NextSlotName();
        }
        if (!path.empty() && path.front() == '.') {
            path.erase(0, 1);
        }
        return path.empty() ? "the document" : "member " + path;
    }

    Json* Add(Json value) {
        if (open.empty()) {
            root = std::move(value);
            return &root;
        }
        Json& container = *open.back().container;
        if (container.is_object()) {
            Json& member = container[pendingKey];
            member = std::move(value);
            return &member;
        }
        container.push_back(std::move(value));
        return &container.back();
    }

    bool Put(Json value) {
        Add(std::move(value));
        return true;
    }

    bool Open(Json container) {
        if (open.size() >= maxDepth) {
            error = "arrays and objects nested deeper than " + std::to_string(maxDepth) + " levels";
            return false;
        }
        std::string slot = open.empty() ? std::string() : NextSlotName();
        Json* added = Add(std::move(container));
        open.push_back({added, std::move(slot)});
        return true;
    }

    bool Close() {
        open.pop_back();
        return true;
    }

    const std::string& text;
    std::size_t maxDepth;
    Json root;
    std::vector<Level> open;
    String pendingKey;
    std::string error;
};

// The text's characters as the parser walks them, telling `progress` of every 64 KiB it passes: the
// parser's own count of what it has read, without a second pass or a timer.
class WatchedCharacter {
public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char*;
    using reference = const char&;

    WatchedCharacter() = default;
    WatchedCharacter(const char* start, const char* position, const ReadProgress* listener)
        : base(start), at(position), progress(listener) {}

    reference operator*() const { return *at; }
    WatchedCharacter& operator++() {
        ++at;
        if ((static_cast<std::size_t>(at - base) & StepMask) == 0) {
            (*progress)(static_cast<std::size_t>(at - base));
        }
        return *this;
    }
    WatchedCharacter operator++(int) {
        WatchedCharacter before = *this;
        ++*this;
        return before;
    }
    bool operator==(const WatchedCharacter& other) const { return at == other.at; }

private:
    static constexpr std::size_t StepMask = (std::size_t{1} << 16) - 1;
    const char* base = nullptr;
    const char* at = nullptr;
    const ReadProgress* progress = nullptr;
};

} // namespace

Result<Json> Read(const std::string& text, std::size_t depthLimit, const ReadProgress& progress) {
    Builder builder(text, depthLimit);
    const char* const start = text.data();
    const bool parsed =
        progress ? Json::sax_parse(WatchedCharacter(start, start, &progress),
                                   WatchedCharacter(start, start + text.size(), &progress), &builder)
                 : Json::sax_parse(text, &builder);
    if (!parsed) {
        return Failure{builder.Error().empty() ? "the document is incomplete" : builder.Error()};
    }
    return builder.Take();
}

} // namespace JsonDocument
