#include "AtomicFile.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& path) {
    std::ifstream stream(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

class AtomicFileReplace : public testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("AtomicFileTests-" + std::to_string(std::random_device{}()));
        fs::create_directories(folder);
        target = folder / "out.bin";
    }
    void TearDown() override { fs::remove_all(folder); }

    // Nothing but the file or folder written over may be left, whatever happened.
    void ExpectOnlyOneEntryLeft() const {
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
    }

    fs::path folder;
    fs::path target;
};

TEST_F(AtomicFileReplace, AWholeWriteReplacesTheFileAndAFailedOneLeavesItAsItWas) {
    std::ofstream(target, std::ios::binary) << "old";
    ASSERT_TRUE(AtomicFile::ReplaceWith(target, "new bytes").Ok());
    EXPECT_EQ(Read(target), "new bytes");
    ExpectOnlyOneEntryLeft();

    const Result<> failed = AtomicFile::Replace(target, [](const fs::path& temporary) -> Result<> {
        std::ofstream(temporary, std::ios::binary) << "half";
        return Failure{"the producer gave up"};
    });
    EXPECT_EQ(failed.Error(), "the producer gave up");
    EXPECT_EQ(Read(target), "new bytes");
    ExpectOnlyOneEntryLeft();
}

TEST_F(AtomicFileReplace, ATargetThatCannotBeReplacedIsNamedAndNoTemporaryFileStays) {
    const fs::path occupied = folder / "occupied";
    fs::create_directories(occupied / "inside");
    const Result<> overFolder = AtomicFile::ReplaceWith(occupied, "bytes");
    EXPECT_EQ(overFolder.Error().rfind("cannot replace " + occupied.string(), 0), 0u) << overFolder.Error();
    EXPECT_TRUE(fs::is_directory(occupied / "inside"));
    ExpectOnlyOneEntryLeft();

    EXPECT_EQ(AtomicFile::ReplaceWith(folder / "", "bytes").Error(),
              "no file name in " + (folder / "").string());
}

} // namespace
