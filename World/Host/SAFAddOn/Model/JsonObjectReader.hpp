#pragma once

#include <nlohmann/json.hpp>

#include <array>
#include <initializer_list>
#include <set>
#include <string>
#include <vector>

namespace Building {

// Reads the members of one JSON object, naming `place` in every ModelFault it throws, and refuses
// members it was never asked for (Finish).
class JsonObjectReader {
public:
    JsonObjectReader(const nlohmann::ordered_json& object, std::string place);

    std::string Text(const char* key);
    std::string OptionalText(const char* key, const std::string& fallback = {});
    std::string Choice(const char* key, std::initializer_list<const char*> allowed);
    std::string OptionalChoice(const char* key, std::initializer_list<const char*> allowed,
                               const std::string& fallback);
    double Number(const char* key);
    double OptionalNumber(const char* key, double fallback);
    int Integer(const char* key, int lowest, int highest);
    std::vector<double> Numbers(const char* key);
    std::array<double, 3> OptionalVector(const char* key, const std::array<double, 3>& fallback);
    std::vector<std::string> Texts(const char* key, std::size_t fewest);
    bool Has(const char* key) const;
    // Marks a member that another reader takes care of.
    void Accept(const char* key);
    void Finish() const;

    [[noreturn]] void Fail(const std::string& reason) const;

private:
    const nlohmann::ordered_json& Member(const char* key);
    double NumberOf(const nlohmann::ordered_json& value, const std::string& what) const;
    std::string ChoiceOf(const std::string& value, const char* key,
                         std::initializer_list<const char*> allowed) const;

    const nlohmann::ordered_json& object;
    std::string place;
    std::set<std::string> used;
};

} // namespace Building
