#pragma once

#include <string>
#include <string_view>
#include <utility>

namespace AnalysisApp {

// Collects the <t> texts of a shared string (<si>) or an inline string (<is>), plain or in rich-text
// runs, and leaves out phonetic runs (<rPh>), whose text is a reading aid and not part of the value.
class RichTextCollector {
public:
    void Start(std::string_view element) {
        if (element == "rPh") {
            ++phoneticDepth;
        } else if (element == "t" && phoneticDepth == 0) {
            ++textDepth;
        }
    }
    void End(std::string_view element) {
        if (element == "rPh" && phoneticDepth > 0) {
            --phoneticDepth;
        } else if (element == "t" && textDepth > 0) {
            --textDepth;
        }
    }
    void Text(std::string_view text) {
        if (textDepth > 0) {
            collected += text;
        }
    }
    std::string Take() {
        textDepth = 0;
        phoneticDepth = 0;
        return std::exchange(collected, {});
    }

private:
    int textDepth = 0;
    int phoneticDepth = 0;
    std::string collected;
};

} // namespace AnalysisApp
