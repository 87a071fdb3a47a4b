// Ini files with the classic private-profile semantics.
#include <gtest/gtest.h>

#include <string>

#include "TestScratch.h"
#include "platform/Ini.h"

namespace {

using plat::Ini;

const char* const kSample =
    "; settings\r\n"
    "[Manage]\r\n"
    "LogEnable = 1\r\n"
    "IniOutput=12ab\r\n"
    "Negative=-7\r\n"
    "Plus=+5\r\n"
    "Letters=abc\r\n"
    "Empty=\r\n"
    "Huge=99999999999\r\n"
    "Quoted=\"  padded  \"\r\n"
    "Name=  Dark room  \r\n"
    "Dup=first\r\n"
    "Dup=second\r\n"
    "[Other]\r\n"
    "LogEnable=5\r\n"
    "[manage]\r\n"
    "Late=3\r\n";

struct IntCase {
    const char* section;
    const char* key;
    int defaultValue;
    int expected;
};

class IniIntTest : public ::testing::TestWithParam<IntCase> {};

TEST_P(IniIntTest, ReadsIntegersLikeThePrivateProfileFunctions) {
    const std::string folder = testutil::FreshFolder();
    testutil::WriteFile(folder + "/a.ini", kSample);
    const IntCase& c = GetParam();
    EXPECT_EQ(Ini(folder + "/a.ini").ReadInt(c.section, c.key, c.defaultValue), c.expected)
        << c.section << "/" << c.key;
}

INSTANTIATE_TEST_SUITE_P(
    Table, IniIntTest,
    ::testing::Values(IntCase{"Manage", "LogEnable", 0, 1}, IntCase{"MANAGE", "logenable", 0, 1},
                      IntCase{"Manage", "IniOutput", 0, 12}, IntCase{"Manage", "Negative", 0, -7},
                      IntCase{"Manage", "Plus", 0, 5}, IntCase{"Manage", "Letters", 9, 0},
                      IntCase{"Manage", "Empty", 9, 9}, IntCase{"Manage", "Huge", 0, 2147483647},
                      IntCase{"Manage", "Missing", 42, 42}, IntCase{"Nowhere", "LogEnable", 3, 3},
                      IntCase{"Other", "LogEnable", 0, 5},
                      // Only the first of two sections of one name counts.
                      IntCase{"Manage", "Late", -1, -1}));

TEST(IniTest, MissingFileGivesTheDefaults) {
    const Ini ini(testutil::FreshFolder() + "/none.ini");
    EXPECT_EQ(ini.ReadInt("Manage", "LogEnable", 0), 0);
    EXPECT_EQ(ini.ReadInt("Manage", "LogEnable", 17), 17);
    EXPECT_EQ(ini.ReadString("Manage", "Name", "fallback"), "fallback");
}

TEST(IniTest, ReadsStringsTrimmedUnquotedAndTheFirstOfTwoKeys) {
    const std::string folder = testutil::FreshFolder();
    testutil::WriteFile(folder + "/a.ini", kSample);
    const Ini ini(folder + "/a.ini");
    EXPECT_EQ(ini.ReadString("manage", "NAME", ""), "Dark room");
    EXPECT_EQ(ini.ReadString("Manage", "Quoted", ""), "  padded  ");
    EXPECT_EQ(ini.ReadString("Manage", "Dup", ""), "first");
    EXPECT_EQ(ini.ReadString("Manage", "Empty", "x"), "");
}

TEST(IniTest, WriteCreatesFileSectionAndKey) {
    const std::string folder = testutil::FreshFolder();
    const Ini ini(folder + "/new.ini");
    ASSERT_TRUE(ini.WriteString("Manage", "LogEnable", "1"));
    ASSERT_TRUE(ini.WriteString("Manage", "IniOutput", "0"));
    ASSERT_TRUE(ini.WriteString("CAP_BASE", "Type", "33"));
    EXPECT_EQ(testutil::ReadFile(folder + "/new.ini"),
              "[Manage]\nLogEnable=1\nIniOutput=0\n\n[CAP_BASE]\nType=33\n");
    EXPECT_EQ(ini.ReadInt("manage", "logenable", 0), 1);
    EXPECT_EQ(ini.ReadString("cap_base", "type", ""), "33");
}

TEST(IniTest, WriteReplacesInPlaceAndKeepsEverythingElse) {
    const std::string folder = testutil::FreshFolder();
    testutil::WriteFile(folder + "/a.ini",
                        "; comment\r\n[Manage]\r\nLogEnable=0\r\nOther=keep\r\n\r\n"
                        "[Next]\r\nA=1\r\n");
    const Ini ini(folder + "/a.ini");
    ASSERT_TRUE(ini.WriteString("MANAGE", "logenable", "1"));
    ASSERT_TRUE(ini.WriteString("Manage", "Added", "2"));
    ASSERT_TRUE(ini.WriteString("Next", "B", "3"));
    EXPECT_EQ(testutil::ReadFile(folder + "/a.ini"),
              "; comment\r\n[Manage]\r\nLogEnable=1\r\nOther=keep\r\nAdded=2\r\n\r\n"
              "[Next]\r\nA=1\r\nB=3\r\n");
}

TEST(IniTest, WriteFailsWhenTheFolderIsMissing) {
    const std::string folder = testutil::FreshFolder();
    EXPECT_FALSE(Ini(folder + "/no/such/a.ini").WriteString("S", "K", "V"));
}

}  // namespace
