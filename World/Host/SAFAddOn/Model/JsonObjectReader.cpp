#include "JsonObjectReader.hpp"

#include "ModelFault.hpp"

#include <cmath>

namespace Building {

JsonObjectReader::JsonObjectReader(const nlohmann::ordered_json& objectValue, std::string objectPlace)
    : object(objectValue), place(std::move(objectPlace)) {
    if (!object.is_object()) {
        Fail("not an object");
    }
}

void JsonObjectReader::Fail(const std::string& reason) const {
    throw ModelFault(place + ": " + reason);
}

bool JsonObjectReader::Has(const char* key) const {
    return object.contains(key);
}

void JsonObjectReader::Accept(const char* key) {
    used.insert(key);
}

const nlohmann::ordered_json& JsonObjectReader::Member(const char* key) {
    used.insert(key);
    const auto found = object.find(key);
    if (found == object.end()) {
        Fail(std::string("\"") + key + "\" is missing");
    }
    return *found;
}

std::string JsonObjectReader::Text(const char* key) {
    const nlohmann::ordered_json& value = Member(key);
    if (!value.is_string()) {
        Fail(std::string("\"") + key + "\" is not a text");
    }
    std::string text = value.get<std::string>();
    if (text.empty()) {
        Fail(std::string("\"") + key + "\" is empty");
    }
    return text;
}

std::string JsonObjectReader::OptionalText(const char* key, const std::string& fallback) {
    if (!Has(key)) {
        used.insert(key);
        return fallback;
    }
    const nlohmann::ordered_json& value = Member(key);
    if (!value.is_string()) {
        Fail(std::string("\"") + key + "\" is not a text");
    }
    return value.get<std::string>();
}

std::string JsonObjectReader::ChoiceOf(const std::string& value, const char* key,
                                       std::initializer_list<const char*> allowed) const {
    std::string list;
    for (const char* candidate : allowed) {
        if (value == candidate) {
            return value;
        }
        list += list.empty() ? candidate : std::string(", ") + candidate;
    }
    Fail(std::string("\"") + key + "\" is \"" + value + "\", not one of " + list);
}

std::string JsonObjectReader::Choice(const char* key, std::initializer_list<const char*> allowed) {
    return ChoiceOf(Text(key), key, allowed);
}

std::string JsonObjectReader::OptionalChoice(const char* key, std::initializer_list<const char*> allowed,
                                             const std::string& fallback) {
    return Has(key) ? Choice(key, allowed) : OptionalText(key, fallback);
}

double JsonObjectReader::NumberOf(const nlohmann::ordered_json& value, const std::string& what) const {
    if (!value.is_number()) {
        Fail(what + " is not a number");
    }
    const double number = value.get<double>();
    if (!std::isfinite(number)) {
        Fail(what + " is not finite");
    }
    return number;
}

double JsonObjectReader::Number(const char* key) {
    return NumberOf(Member(key), std::string("\"") + key + "\"");
}

double JsonObjectReader::OptionalNumber(const char* key, double fallback) {
    return Has(key) ? Number(key) : fallback;
}

int JsonObjectReader::Integer(const char* key, int lowest, int highest) {
    const nlohmann::ordered_json& value = Member(key);
    if (!value.is_number_integer()) {
        Fail(std::string("\"") + key + "\" is not a whole number");
    }
    const auto number = value.get<long long>();
    if (number < lowest || number > highest) {
        Fail(std::string("\"") + key + "\" is " + std::to_string(number) + ", outside " +
             std::to_string(lowest) + ".." + std::to_string(highest));
    }
    return static_cast<int>(number);
}

std::vector<double> JsonObjectReader::Numbers(const char* key) {
    const nlohmann::ordered_json& value = Member(key);
    if (!value.is_array() || value.empty()) {
        Fail(std::string("\"") + key + "\" is not a list of numbers");
    }
    std::vector<double> numbers;
    for (std::size_t index = 0; index < value.size(); ++index) {
        numbers.push_back(
            NumberOf(value[index], std::string("\"") + key + "\"[" + std::to_string(index) + "]"));
    }
    return numbers;
}

std::array<double, 3> JsonObjectReader::OptionalVector(const char* key,
                                                       const std::array<double, 3>& fallback) {
    if (!Has(key)) {
        return fallback;
    }
    const std::vector<double> numbers = Numbers(key);
    if (numbers.size() != 3) {
        Fail(std::string("\"") + key + "\" does not hold three numbers");
    }
    return {numbers[0], numbers[1], numbers[2]};
}

std::vector<std::string> JsonObjectReader::Texts(const char* key, std::size_t fewest) {
    const nlohmann::ordered_json& value = Member(key);
    if (!value.is_array()) {
        Fail(std::string("\"") + key + "\" is not a list");
    }
    std::vector<std::string> texts;
    for (const nlohmann::ordered_json& item : value) {
        if (!item.is_string() || item.get<std::string>().empty()) {
            Fail(std::string("\"") + key + "\" holds something that is not a name");
        }
        texts.push_back(item.get<std::string>());
    }
    if (texts.size() < fewest) {
        Fail(std::string("\"") + key + "\" names " + std::to_string(texts.size()) + ", fewer than " +
             std::to_string(fewest));
    }
    return texts;
}

void JsonObjectReader::Finish() const {
    for (const auto& member : object.items()) {
        if (used.count(member.key()) == 0) {
            Fail("unknown member \"" + member.key() + "\"");
        }
    }
}

} // namespace Building
