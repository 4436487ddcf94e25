#include "RegistryStore.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

struct MalformedCase {
    const char* name;
    std::string text;
    std::string error;
};

const std::string Header = "Windows Registry Editor Version 5.00\n\n";

// Each way a store file can be wrong, with the one message that names its line.
const MalformedCase MalformedCases[] = {
    {"OldHeader", "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\K]\n",
     "LocalMachine.reg:1: expected \"Windows Registry Editor Version 5.00\""},
    {"HeaderNotFirst", "\n" + Header,
     "LocalMachine.reg:1: expected \"Windows Registry Editor Version 5.00\""},
    {"ValueBeforeAnyKey", Header + "; comment\n\n\n\n\"Name\"=\"value\"\n",
     "LocalMachine.reg:7: value line outside a key"},
    {"KeyWithoutClosingBracket", Header + "[HKEY_LOCAL_MACHINE\\SOFTWARE\n",
     "LocalMachine.reg:3: key line without a closing ']'"},
    {"KeyOfAnotherHive", Header + "[HKEY_CURRENT_USER\\SOFTWARE]\n",
     "LocalMachine.reg:3: key outside HKEY_LOCAL_MACHINE"},
    {"KeyOfAHiveWithALongerName", Header + "[HKEY_LOCAL_MACHINEX\\SOFTWARE]\n",
     "LocalMachine.reg:3: key outside HKEY_LOCAL_MACHINE"},
    {"EmptyKeyName", Header + "[HKEY_LOCAL_MACHINE\\SOFTWARE\\\\VELD]\n",
     "LocalMachine.reg:3: empty key name in the key path"},
    {"KeyDeletion", Header + "[-HKEY_LOCAL_MACHINE\\SOFTWARE]\n",
     "LocalMachine.reg:3: key deletion lines ([-...]) are not allowed in a store file"},
    {"UnterminatedValueName", Header + "[HKEY_LOCAL_MACHINE\\K]\n\"Name=value\n",
     "LocalMachine.reg:4: value name without a closing quote, or with an escape other than \\\\ and \\\""},
    {"BadEscapeInName", Header + "[HKEY_LOCAL_MACHINE\\K]\n\"Na\\me\"=\"value\"\n",
     "LocalMachine.reg:4: value name without a closing quote, or with an escape other than \\\\ and \\\""},
    {"EmptyValueName", Header + "[HKEY_LOCAL_MACHINE\\K]\n\"\"=\"value\"\n",
     "LocalMachine.reg:4: empty value name (the default value is written @)"},
    {"MissingEquals", Header + "[HKEY_LOCAL_MACHINE\\K]\n\"Name\" \"value\"\n",
     "LocalMachine.reg:4: expected '=' after the value name"},
    {"UnterminatedString", Header + "[HKEY_LOCAL_MACHINE\\K]\n\"Name\"=\"value\n",
     "LocalMachine.reg:4: string value without a closing quote, or with an escape other than \\\\ and \\\""},
    {"BadEscapeInString", Header + "[HKEY_LOCAL_MACHINE\\K]\n\"Name\"=\"C:\\VELD\"\n",
     "LocalMachine.reg:4: string value without a closing quote, or with an escape other than \\\\ and \\\""},
    {"TextAfterString", Header + "[HKEY_LOCAL_MACHINE\\K]\n\"Name\"=\"value\" trailing\n",
     "LocalMachine.reg:4: unexpected text after the string value"},
    {"DwordTooLong", Header + "[HKEY_LOCAL_MACHINE\\K]\n\"N\"=dword:000000001\n",
     "LocalMachine.reg:4: dword value needs 1 to 8 hex digits"},
    {"DwordNotHex", Header + "[HKEY_LOCAL_MACHINE\\K]\n\"N\"=dword:0000002g\n",
     "LocalMachine.reg:4: dword value needs 1 to 8 hex digits"},
    {"DwordEmpty", Header + "[HKEY_LOCAL_MACHINE\\K]\n\"N\"=dword:\n",
     "LocalMachine.reg:4: dword value needs 1 to 8 hex digits"},
    {"HexByteNotHex", Header + "[HKEY_LOCAL_MACHINE\\K]\n\"N\"=hex:01,0g\n",
     "LocalMachine.reg:4: byte list needs two hex digits per byte, separated by commas"},
    {"HexByteOneDigit", Header + "[HKEY_LOCAL_MACHINE\\K]\n\"N\"=hex:01,2\n",
     "LocalMachine.reg:4: byte list needs two hex digits per byte, separated by commas"},
    {"HexWithoutCommas", Header + "[HKEY_LOCAL_MACHINE\\K]\n\"N\"=hex:0102\n",
     "LocalMachine.reg:4: byte list needs two hex digits per byte, separated by commas"},
    {"HexTrailingComma", Header + "[HKEY_LOCAL_MACHINE\\K]\n\"N\"=hex:01,02,\n",
     "LocalMachine.reg:4: byte list ends with a comma"},
    {"BadByteOnAContinuationLine", Header + "[HKEY_LOCAL_MACHINE\\K]\n\"N\"=hex:01,02,\\\n  03,zz\n",
     "LocalMachine.reg:5: byte list needs two hex digits per byte, separated by commas"},
    {"ContinuationAtTheEnd", Header + "[HKEY_LOCAL_MACHINE\\K]\n\"N\"=hex:01,02,\\",
     "LocalMachine.reg:4: byte list continues past the end of the file"},
    {"HexTypeNotHex", Header + "[HKEY_LOCAL_MACHINE\\K]\n\"N\"=hex(z):01\n",
     "LocalMachine.reg:4: value type in hex(...) needs 1 to 8 hex digits"},
    {"HexTypeUnclosed", Header + "[HKEY_LOCAL_MACHINE\\K]\n\"N\"=hex(2:01\n",
     "LocalMachine.reg:4: value type in hex(...) needs 1 to 8 hex digits"},
    {"HexWithoutColon", Header + "[HKEY_LOCAL_MACHINE\\K]\n\"N\"=hex 01\n",
     "LocalMachine.reg:4: expected ':' after hex"},
    {"OddHex1String", Header + "[HKEY_LOCAL_MACHINE\\K]\n\"N\"=hex(1):41,00,42\n",
     "LocalMachine.reg:4: hex(1) string value with an odd number of bytes"},
    {"ValueDeletion", Header + "[HKEY_LOCAL_MACHINE\\K]\n\"N\"=-\n",
     "LocalMachine.reg:4: value deletion lines (=-) are not allowed in a store file"},
    {"UnknownData", Header + "[HKEY_LOCAL_MACHINE\\K]\n\"N\"=qword:1\n",
     "LocalMachine.reg:4: unknown value data (expected \"text\", dword:, hex: or hex(N):)"},
    {"StrayLine", Header + "[HKEY_LOCAL_MACHINE\\K]\nInstallDir=C:\\VELD\n",
     "LocalMachine.reg:4: expected a [key] line, a value line or a comment"},
    {"InvalidUtf8", Header + "[HKEY_LOCAL_MACHINE\\K]\n\"N\"=\"caf\xE9\"\n",
     "LocalMachine.reg:4: text is not valid UTF-8"},
    {"NulByte", Header + "[HKEY_LOCAL_MACHINE\\K]\n" + std::string("\"N\"=\"a\0b\"\n", 10),
     "LocalMachine.reg:4: NUL byte in the text"},
    {"Utf16File", std::string("\xFF\xFEW\0i\0n\0", 8),
     "LocalMachine.reg:1: the file is UTF-16 (as the registry editor exports it); store files are UTF-8"},
    {"Latin1File", Header + "[HKEY_LOCAL_MACHINE\\K]\n\"N\"=\"\xE9t\xE9\"\n",
     "LocalMachine.reg:4: text is not valid UTF-8"},
};

class RegistryStoreMalformed : public ::testing::TestWithParam<MalformedCase> {};

} // namespace

TEST_P(RegistryStoreMalformed, IsRefusedWithFileAndLine) {
    const MalformedCase& c = GetParam();
    const GS::RegistryStore::ParseResult result =
        GS::RegistryStore::Parse(c.text.data(), c.text.size(), "HKEY_LOCAL_MACHINE", "LocalMachine.reg");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, c.error);
    EXPECT_TRUE(result.hive.root.subKeys.empty());
}

INSTANTIATE_TEST_SUITE_P(EachMistake, RegistryStoreMalformed, ::testing::ValuesIn(MalformedCases),
                         [](const ::testing::TestParamInfo<MalformedCase>& caseInfo) {
                             return caseInfo.param.name;
                         });

TEST(RegistryStoreMalformedInput, ArbitraryBytesNeverCrashTheParser) {
    // Every prefix of a valid file, then the same with each byte flipped: each either parses or
    // names a line; none reads outside the input (checked under the sanitizers).
    const std::string valid = "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\K]\n\"N\"=\"v\"\n"
                              "\"D\"=dword:1\n\"B\"=hex:01,\\\n 02\n@=hex(1):41,00\n";
    for (std::size_t length = 0; length <= valid.size(); ++length) {
        std::string text = valid.substr(0, length);
        const auto prefix = GS::RegistryStore::Parse(text.data(), text.size(), "HKEY_LOCAL_MACHINE", "f.reg");
        EXPECT_TRUE(prefix.ok || prefix.error.rfind("f.reg:", 0) == 0) << length;
        for (std::size_t i = 0; i < text.size(); ++i) {
            std::string flipped = text;
            flipped[i] = static_cast<char>(flipped[i] ^ 0x5A);
            const auto result =
                GS::RegistryStore::Parse(flipped.data(), flipped.size(), "HKEY_LOCAL_MACHINE", "f.reg");
            EXPECT_TRUE(result.ok || result.error.rfind("f.reg:", 0) == 0);
        }
    }
}
