#include "WindowsCommandLine.hpp"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace WindowsCommandLine = IO::Process::WindowsCommandLine;

namespace {

bool IsBlank(char16_t unit) {
    return unit == u' ' || unit == u'\t';
}

// The C runtime's own reading of a command line into argv, written from its documented rules and
// independently of the quoting under test: the program name up to the closing quote without
// escapes; then 2n backslashes + quote = n backslashes and a toggle, 2n+1 = n backslashes and a
// literal quote, "" inside quotes = a literal quote.
std::vector<std::u16string> SplitLikeTheCRuntime(std::u16string_view line) {
    std::vector<std::u16string> argv;
    std::size_t i = 0;
    std::u16string program;
    bool quoted = false;
    for (; i < line.size() && (quoted || !IsBlank(line[i])); ++i) {
        if (line[i] == u'"') {
            quoted = !quoted;
        } else {
            program += line[i];
        }
    }
    argv.push_back(program);
    for (;;) {
        while (i < line.size() && IsBlank(line[i])) {
            ++i;
        }
        if (i == line.size()) {
            return argv;
        }
        std::u16string argument;
        quoted = false;
        while (i < line.size() && (quoted || !IsBlank(line[i]))) {
            std::size_t backslashes = 0;
            for (; i < line.size() && line[i] == u'\\'; ++i) {
                ++backslashes;
            }
            if (i < line.size() && line[i] == u'"') {
                argument.append(backslashes / 2, u'\\');
                if (backslashes % 2 == 1) {
                    argument += u'"';
                    ++i;
                } else if (quoted && i + 1 < line.size() && line[i + 1] == u'"') {
                    argument += u'"';
                    i += 2;
                } else {
                    quoted = !quoted;
                    ++i;
                }
            } else if (backslashes > 0) {
                argument.append(backslashes, u'\\');
            } else if (i < line.size()) {
                argument += line[i++];
            }
        }
        argv.push_back(argument);
    }
}

std::u16string Text(const GS::UniString& text) {
    return std::u16string(text.ToUStr(), text.GetLength());
}

GS::UniString Uni(std::u16string_view text) {
    return GS::UniString(text.data(), static_cast<UIndex>(text.size()));
}

struct QuotingCase {
    std::u16string_view argument;
    std::u16string_view quoted;
};

// Each case is a way an argument has gone wrong on real command lines.
constexpr QuotingCase quotingCases[] = {
    {u"plain", u"plain"},
    {u"", u"\"\""},
    {u"with space", u"\"with space\""},
    {u"tab\there", u"\"tab\there\""},
    {u"line\nbreak", u"\"line\nbreak\""},
    {u"say \"hi\"", u"\"say \\\"hi\\\"\""},
    {u"a\"b", u"\"a\\\"b\""},
    {u"C:\\no\\spaces\\", u"C:\\no\\spaces\\"},
    {u"C:\\VELD Export\\", u"\"C:\\VELD Export\\\\\""},
    {u"C:\\VELD Export\\\\", u"\"C:\\VELD Export\\\\\\\\\""},
    {u"a\\\"b", u"\"a\\\\\\\"b\""},
    {u"\\\\server\\share\\ACToVELDEngineer.xlsx", u"\\\\server\\share\\ACToVELDEngineer.xlsx"},
    {u"\"\"", u"\"\\\"\\\"\""},
    {u"100% %PATH%", u"\"100% %PATH%\""},
    {u"\u00dcbersicht \u2713.xlsx", u"\"\u00dcbersicht \u2713.xlsx\""},
};

} // namespace

TEST(WindowsCommandLineQuoting, EachArgumentIsWrittenAsTheCRuntimeExpectsIt) {
    for (const QuotingCase& testCase : quotingCases) {
        EXPECT_EQ(Text(WindowsCommandLine::QuoteArgument(Uni(testCase.argument))), testCase.quoted)
            << "argument: " << Uni(testCase.argument).ToUTF8().Get();
    }
}

TEST(WindowsCommandLineQuoting, TheCRuntimeSplitsEveryQuotedArgumentBackUnchanged) {
    for (const QuotingCase& testCase : quotingCases) {
        GS::Array<GS::UniString> arguments;
        arguments.Push(Uni(testCase.argument));
        const std::vector<std::u16string> argv = SplitLikeTheCRuntime(Text(WindowsCommandLine::Build(
            GS::UniString(u"C:\\Program Files\\VELD\\VeldEngineer.exe"), arguments)));
        ASSERT_EQ(argv.size(), 2u) << "argument: " << Uni(testCase.argument).ToUTF8().Get();
        EXPECT_EQ(argv[0], u"C:\\Program Files\\VELD\\VeldEngineer.exe");
        EXPECT_EQ(argv[1], testCase.argument);
    }
}

TEST(WindowsCommandLineQuoting, ManyHardArgumentsKeepTheirOrderAndBoundaries) {
    GS::Array<GS::UniString> arguments;
    for (const QuotingCase& testCase : quotingCases) {
        arguments.Push(Uni(testCase.argument));
    }
    arguments.Push(GS::UniString(std::u16string(230, u'\\').c_str()) + GS::UniString(u"\" x"));
    const std::vector<std::u16string> argv = SplitLikeTheCRuntime(
        Text(WindowsCommandLine::Build(GS::UniString(u"D:\\VeldEngineer.exe"), arguments)));
    ASSERT_EQ(argv.size(), arguments.GetSize() + 1);
    for (UIndex i = 0; i < arguments.GetSize(); ++i) {
        EXPECT_EQ(argv[i + 1], Text(arguments[i])) << "argument " << i;
    }
}

TEST(WindowsCommandLineQuoting, NoArgumentsLeaveOnlyTheQuotedProgram) {
    EXPECT_EQ(Text(WindowsCommandLine::Build(GS::UniString(u"C:\\VELD\\VeldEngineer.exe"), {})),
              u"\"C:\\VELD\\VeldEngineer.exe\"");
}
