#include "Win32Api.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

TEST(RegisterWindowMessageW, TheSameNameGivesTheSameNumberWhateverItsCase) {
    const UINT message = RegisterWindowMessageW(W32TEXT("commdlg_FileNameOK"));
    EXPECT_GE(message, 0xC000u);
    EXPECT_LE(message, 0xFFFFu);
    EXPECT_EQ(RegisterWindowMessageW(W32TEXT("commdlg_FileNameOK")), message);
    EXPECT_EQ(RegisterWindowMessageW(W32TEXT("COMMDLG_FILENAMEOK")), message);
    EXPECT_NE(RegisterWindowMessageW(W32TEXT("commdlg_help")), message);
}

TEST(RegisterWindowMessageW, NamesBeyondAsciiCompareWithoutCase) {
    const UINT message = RegisterWindowMessageW(u"Ärger-Nachricht");
    EXPECT_EQ(RegisterWindowMessageW(u"äRGER-NACHRICHT"), message);
    EXPECT_NE(RegisterWindowMessageW(u"Arger-Nachricht"), message);
}

TEST(RegisterWindowMessageW, NoNameGivesNoNumber) {
    EXPECT_EQ(RegisterWindowMessageW(nullptr), 0u);
    EXPECT_EQ(RegisterWindowMessageW(u""), 0u);
}

TEST(RegisterWindowMessageWDeathTest, AFullTableGivesZero) {
    // In a child process: filling the table would spoil it for every other test.
    EXPECT_EXIT(
        {
            const auto nameOf = [](int i) {
                return u"message " + std::u16string(1, static_cast<char16_t>(0x4E00 + i));
            };
            bool inRange = true;
            for (int i = 0; i <= 0x4000; ++i) {
                const UINT message = RegisterWindowMessageW(nameOf(i).c_str());
                inRange = inRange && (message == 0 || (message >= 0xC000 && message <= 0xFFFF));
            }
            const bool full = RegisterWindowMessageW(u"one more") == 0;
            const bool knownStillFound = RegisterWindowMessageW(nameOf(0).c_str()) != 0;
            std::exit(inRange && full && knownStillFound ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}
