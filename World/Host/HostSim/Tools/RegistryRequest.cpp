#include "Tools/RegistryRequest.hpp"

#include "Services/ResultCode.hpp"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

namespace HostSim {

namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::toupper(static_cast<unsigned char>(a)) ==
                      std::toupper(static_cast<unsigned char>(b));
           });
}

struct ActionForm {
    std::string_view word;
    RegistryAction action;
    std::size_t operandCount; // after the word: KEY [NAME [VALUE]]
};

constexpr std::array<ActionForm, 5> actionForms{{
    {"set-string", RegistryAction::SetString, 3},
    {"set-dword", RegistryAction::SetDWord, 3},
    {"delete-key", RegistryAction::DeleteKey, 1},
    {"delete-value", RegistryAction::DeleteValue, 2},
    {"get", RegistryAction::Get, 2},
}};

std::string WrongCount(const ActionForm& form) {
    static const std::array<std::string_view, 3> operands{" KEY", " NAME", " VALUE"};
    std::string text = std::string(form.word) + " takes";
    for (std::size_t i = 0; i < form.operandCount; ++i) {
        text += operands[i];
    }
    return text;
}

} // namespace

std::optional<RegistryKey> ParseRegistryKey(std::string_view text) {
    struct Hive {
        std::string_view name;
        GSPref::RootKeyDomain domain;
    };
    static const std::array<Hive, 4> hives{{
        {"HKEY_LOCAL_MACHINE", GSPref::RootKeyDomain::LocalMachine},
        {"HKEY_CURRENT_USER", GSPref::RootKeyDomain::CurrentUser},
        {"HKLM", GSPref::RootKeyDomain::LocalMachine},
        {"HKCU", GSPref::RootKeyDomain::CurrentUser},
    }};
    for (const Hive& hive : hives) {
        if (!StartsWithNoCase(text, hive.name)) {
            continue;
        }
        std::string_view rest = text.substr(hive.name.size());
        if (!rest.empty() && rest.front() != '\\') {
            continue;
        }
        while (!rest.empty() && rest.front() == '\\') {
            rest.remove_prefix(1);
        }
        return RegistryKey{hive.domain, std::string(rest)};
    }
    return std::nullopt;
}

Result<RegistryRequest> ParseRegistryRequest(const std::vector<std::string>& arguments) {
    RegistryRequest request;
    std::vector<std::string> words;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "--home") {
            if (i + 1 >= arguments.size()) {
                return Failure{"--home needs a value"};
            }
            request.home = arguments[++i];
        } else {
            words.push_back(arguments[i]);
        }
    }
    if (words.empty()) {
        return Failure{"expected set-string, set-dword, delete-key, delete-value or get"};
    }
    auto form = std::find_if(actionForms.begin(), actionForms.end(),
                             [&](const ActionForm& candidate) { return candidate.word == words[0]; });
    if (form == actionForms.end()) {
        return Failure{"unknown action \"" + words[0] + "\""};
    }
    if (words.size() != form->operandCount + 1) {
        return Failure{WrongCount(*form)};
    }
    request.action = form->action;
    std::optional<RegistryKey> key = ParseRegistryKey(words[1]);
    if (!key || key->path.empty()) {
        return Failure{"\"" + words[1] + "\" is not a key below HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER"};
    }
    request.key = std::move(*key);
    if (form->operandCount >= 2) {
        request.valueName = words[2];
    }
    if (request.action == RegistryAction::SetString) {
        request.text = words[3];
    } else if (request.action == RegistryAction::SetDWord) {
        std::optional<UInt64> number = ParseUnsigned(words[3], 0xFFFFFFFFu);
        if (!number) {
            return Failure{"\"" + words[3] + "\" is not a 32-bit unsigned number"};
        }
        request.number = static_cast<UInt32>(*number);
    }
    return request;
}

} // namespace HostSim
