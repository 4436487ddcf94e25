#pragma once

#include <nlohmann/json.hpp>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// The one way the host reads a JSON document from outside (projects, models, the translator
// store): nlohmann's parser drives a builder of our own, so that
//  - arrays and objects nested deeper than a limit are refused while reading, before a document
//    that deep exists (copying or destroying one recurses once per level, and 20 000 levels
//    overflow the stack);
//  - a number no double holds is named with its member ("member nodes[3].x: number overflow
//    parsing '1e400'"), where the parser alone names only the token.
namespace JsonDocument {

// Far deeper than any document the host writes (a project nests six levels), far shallower than a
// thread's stack allows.
constexpr std::size_t MaxDepth = 512;

template <class Json>
struct ReadResult {
    std::optional<Json> document;
    std::string error; // "line L, column C: ...", "member a.b[2]: ...", or the nesting refused
};

std::string PlaceOfByte(const std::string& text, std::size_t offset);

namespace Detail {

// Builds the document as the parser reports it, remembering which member is being read.
template <class Json>
class Builder final : public nlohmann::json_sax<Json> {
public:
    using Integer = typename Json::number_integer_t;
    using Unsigned = typename Json::number_unsigned_t;
    using Float = typename Json::number_float_t;
    using String = typename Json::string_t;
    using Binary = typename Json::binary_t;

    Builder(const std::string& source, std::size_t depthLimit) : text(source), maxDepth(depthLimit) {}

    bool null() override { return Add(Json(nullptr)) != nullptr; }
    bool boolean(bool value) override { return Add(Json(value)) != nullptr; }
    bool number_integer(Integer value) override { return Add(Json(value)) != nullptr; }
    bool number_unsigned(Unsigned value) override { return Add(Json(value)) != nullptr; }
    bool number_float(Float value, const String&) override { return Add(Json(value)) != nullptr; }
    bool string(String& value) override { return Add(Json(std::move(value))) != nullptr; }
    bool binary(Binary& value) override { return Add(Json::binary(std::move(value))) != nullptr; }

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

    std::optional<Json> Take() {
        if (!error.empty()) {
            return std::nullopt;
        }
        return std::move(root);
    }
    const std::string& Error() const { return error; }

private:
    // The place the next value goes: "member a.b[2]" (or "the document" at the top).
    std::string MemberPath() const {
        std::string path;
        for (std::size_t level = 0; level < open.size(); ++level) {
            path += names[level];
        }
        if (!open.empty()) {
            path +=
                open.back()->is_object() ? "." + pendingKey : "[" + std::to_string(open.back()->size()) + "]";
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
        Json& container = *open.back();
        if (container.is_object()) {
            Json& member = container[pendingKey];
            member = std::move(value);
            return &member;
        }
        container.push_back(std::move(value));
        return &container.back();
    }

    bool Open(Json container) {
        if (open.size() >= maxDepth) {
            error = "arrays and objects nested deeper than " + std::to_string(maxDepth) + " levels";
            return false;
        }
        std::string name;
        if (!open.empty()) {
            name =
                open.back()->is_object() ? "." + pendingKey : "[" + std::to_string(open.back()->size()) + "]";
        }
        Json* added = Add(std::move(container));
        open.push_back(added);
        names.push_back(std::move(name));
        return true;
    }

    bool Close() {
        open.pop_back();
        names.pop_back();
        return true;
    }

    const std::string& text;
    std::size_t maxDepth;
    Json root;
    std::vector<Json*> open;
    std::vector<std::string> names;
    String pendingKey;
    std::string error;
};

} // namespace Detail

// The document in `text`, or why it is not one. No exception of the parser leaves it.
template <class Json>
ReadResult<Json> Read(const std::string& text, std::size_t depthLimit = MaxDepth) {
    Detail::Builder<Json> builder(text, depthLimit);
    const bool complete = Json::sax_parse(text, &builder);
    ReadResult<Json> result;
    if (!complete && builder.Error().empty()) {
        result.error = "the document is incomplete";
        return result;
    }
    result.error = builder.Error();
    result.document = builder.Take();
    return result;
}

} // namespace JsonDocument
