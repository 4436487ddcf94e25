#include "CarefulFile.hpp"
#include "HostTestSupport.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

namespace {

using GS::CarefulFile::FileWriter;
using HostTestSupport::TempFolder;

// A streamed replacement: the target changes only when the producer finishes and says so; on every
// other way out the earlier file stays and nothing of the attempt is left beside it.
TEST(CarefulFileReplaceWith, TheTargetChangesOnlyWhenTheProducerFinishes) {
    const struct {
        const char* name;
        std::function<bool(FileWriter&, std::string&)> produce;
        const char* expected; // the target afterwards
        const char* error;    // part of the reason when refused
    } cases[] = {
        {"a header filled in once the body is known",
         [](FileWriter& file, std::string&) {
             return file.Append("size=??;") && file.Append("body") &&
                    file.WriteAt(5, std::to_string(file.Size()).substr(0, 2));
         },
         "size=12;body", ""},
        {"a refusal after writing",
         [](FileWriter& file, std::string& error) {
             file.Append("half");
             error = "the model cannot be written";
             return false;
         },
         "earlier", "the model cannot be written"},
        {"a write again past what was written",
         [](FileWriter& file, std::string&) { return file.Append("abc") && file.WriteAt(2, "de"); },
         "earlier", "past what was written"},
        {"a producer claiming success after a failed write",
         [](FileWriter& file, std::string&) {
             file.WriteAt(1, "x");
             file.Append("ignored");
             return true;
         },
         "earlier", "past what was written"},
    };
    for (const auto& [name, produce, expected, error] : cases) {
        TempFolder folder;
        folder.WriteFile("model.xlsx", "earlier");
        std::string reason;
        const bool replaced = GS::CarefulFile::ReplaceFileWith(folder.Path() / "model.xlsx", produce, reason);
        EXPECT_EQ(replaced, std::string(error).empty()) << name << ": " << reason;
        EXPECT_NE(reason.find(error), std::string::npos) << name << ": " << reason;
        EXPECT_EQ(folder.ReadFile("model.xlsx"), expected) << name;
        EXPECT_EQ(folder.FileNames(), std::vector<std::string>{"model.xlsx"}) << name;
    }
}

TEST(CarefulFileReplaceWith, AProducerThatThrowsLeavesTheTargetAndNoTemporaryFile) {
    TempFolder folder;
    folder.WriteFile("model.xlsx", "earlier");
    std::string error;
    EXPECT_THROW(GS::CarefulFile::ReplaceFileWith(
                     folder.Path() / "model.xlsx",
                     [](FileWriter& file, std::string&) -> bool {
                         file.Append("part of it");
                         throw std::runtime_error("out of memory");
                     },
                     error),
                 std::runtime_error);
    EXPECT_EQ(folder.ReadFile("model.xlsx"), "earlier");
    EXPECT_EQ(folder.FileNames(), std::vector<std::string>{"model.xlsx"});
}

} // namespace
