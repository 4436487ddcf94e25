#include "Record/Transcript.hpp"

#include "Record/PathText.hpp"

namespace HostSim {

Transcript::Transcript(const std::string& utf8Path)
    : file(std::make_unique<std::ofstream>(PathFromUtf8(utf8Path), std::ios::binary | std::ios::trunc)) {}

std::string Transcript::Format(std::string_view event, const Json& fields) {
    Json line = Json::object();
    line["event"] = std::string(event);
    for (auto member = fields.begin(); member != fields.end(); ++member) {
        if (member.key() != "event") {
            line[member.key()] = member.value();
        }
    }
    // Texts from add-ons and libraries are not always valid UTF-8; they still make a readable line.
    return line.dump(-1, ' ', false, Json::error_handler_t::replace);
}

void Transcript::Write(std::string_view event, const Json& fields) {
    if (!IsOpen()) {
        return;
    }
    *file << Format(event, fields) << '\n';
    file->flush();
}

} // namespace HostSim
