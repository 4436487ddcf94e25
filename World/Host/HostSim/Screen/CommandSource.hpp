#pragma once

#include <istream>
#include <optional>
#include <ostream>
#include <string>

namespace HostSim {

// Where command lines come from: a script file, or a person at the terminal who sees a prompt. The
// same words work in both; only what happens after an unusable line differs (a script stops there,
// a person may type again).
class CommandSource {
public:
    // `prompt` is null for a script.
    CommandSource(std::istream& input, std::string name, std::ostream* prompt);

    // The next line without its line break, or nothing at the end of the input.
    std::optional<std::string> NextLine();

    const std::string& Name() const { return name; }
    // Number of the line NextLine returned last, from 1.
    unsigned LineNumber() const { return lineNumber; }
    bool IsInteractive() const { return prompt != nullptr; }
    // A person's lines come through the line editor (editing and history) instead of `input`, which
    // must then be the standard input: for the terminal, where the editor is available.
    void EditLinesAtTerminal() { editLines = prompt != nullptr; }
    // No line is read after this: the commands are given up (a script line that did not fit an alert).
    void Stop() { stopped = true; }

private:
    std::istream& input;
    std::string name;
    std::ostream* prompt;
    unsigned lineNumber = 0;
    bool stopped = false;
    bool editLines = false;
};

} // namespace HostSim
