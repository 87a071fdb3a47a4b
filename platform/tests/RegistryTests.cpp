// The file-backed registry of the current user.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <string>

#include "TestScratch.h"
#include "platform/Registry.h"

namespace {

using plat::Registry;
using plat::RegistryType;
using plat::RegistryValue;

const char* const kKey = "SOFTWARE\\Maker\\Product";

TEST(RegistryTest, MissingFileHoldsNoKeyAndTakesNoValue) {
    const Registry registry(testutil::FreshFolder() + "/registry.reg");
    EXPECT_FALSE(registry.KeyExists(kKey));
    EXPECT_FALSE(registry.QueryValue(kKey, "a").has_value());
    EXPECT_FALSE(registry.SetValue(kKey, "a", RegistryValue::FromDword(1)));
    EXPECT_FALSE(testutil::FileExists(registry.File()));
}

TEST(RegistryTest, ValuesSurviveInTheFileAndNamesIgnoreCase) {
    const std::string file = testutil::FreshFolder() + "/folder/sub/registry.reg";
    {
        const Registry registry(file);
        ASSERT_TRUE(registry.CreateKey(kKey));
        EXPECT_TRUE(registry.CreateKey(kKey));  // exists: nothing more
        ASSERT_TRUE(registry.SetValue(kKey, "Count", RegistryValue::FromDword(0xDEADBEEF)));
        ASSERT_TRUE(
            registry.SetValue(kKey, "Blob \"quoted\" \\", {RegistryType::Binary, {0, 0xFF, 7}}));
        ASSERT_TRUE(registry.SetValue(kKey, "Empty", {RegistryType::Binary, {}}));
        ASSERT_TRUE(registry.SetValue(kKey, "count", RegistryValue::FromDword(42)));  // replaces
    }
    const Registry again(file);
    EXPECT_TRUE(again.KeyExists("software\\MAKER\\product"));
    EXPECT_FALSE(again.KeyExists("SOFTWARE\\Maker"));
    EXPECT_EQ(again.QueryValue(kKey, "COUNT")->Dword(), 42u);
    const auto blob = again.QueryValue(kKey, "blob \"quoted\" \\");
    ASSERT_TRUE(blob.has_value());
    EXPECT_EQ(blob->type, RegistryType::Binary);
    EXPECT_EQ(blob->data, (std::vector<uint8_t>{0, 0xFF, 7}));
    EXPECT_FALSE(blob->Dword().has_value());
    EXPECT_TRUE(again.QueryValue(kKey, "Empty")->data.empty());
    EXPECT_FALSE(again.QueryValue(kKey, "Missing").has_value());
    // One "Count" line only: the second write replaced the first.
    const std::string text = testutil::ReadFile(file);
    EXPECT_NE(text.find("\"Count\"=dword:0000002a"), std::string::npos);
    EXPECT_EQ(text.find("=dword:"), text.rfind("=dword:"));
}

TEST(RegistryTest, ReadsAHandWrittenFileAndSkipsLinesItDoesNotKnow) {
    const std::string file = testutil::FreshFolder() + "/registry.reg";
    testutil::WriteFile(file,
                        "REGEDIT4\r\n\r\n[A\\B]\r\n\"x\"=dword:0000000a\r\n"
                        "nonsense\r\n\"bad\"=dword:12\r\n\"h\"=hex:0a,0B\r\n[C]\r\n");
    const Registry registry(file);
    EXPECT_EQ(registry.QueryValue("a\\b", "x")->Dword(), 10u);
    EXPECT_FALSE(registry.QueryValue("A\\B", "bad").has_value());
    EXPECT_EQ(registry.QueryValue("A\\B", "h")->data, (std::vector<uint8_t>{10, 11}));
    EXPECT_TRUE(registry.KeyExists("C"));
}

TEST(RegistryTest, UnwritableLocationRefusesTheKey) {
    const std::string folder = testutil::FreshFolder();
    testutil::WriteFile(folder + "/file", "x");
    const Registry registry(folder + "/file/registry.reg");  // a file stands in the way
    EXPECT_FALSE(registry.CreateKey(kKey));
    EXPECT_FALSE(registry.KeyExists(kKey));
}

TEST(RegistryTest, CurrentUserFollowsTheEnvironment) {
    const char* pConfig = std::getenv("XDG_CONFIG_HOME");
    const std::string config = pConfig != nullptr ? pConfig : "";
    const std::string file = testutil::FreshFolder() + "/mine.reg";
    setenv("VARNU_REGISTRY", file.c_str(), 1);
    EXPECT_EQ(Registry::CurrentUser().File(), file);
    unsetenv("VARNU_REGISTRY");
    setenv("XDG_CONFIG_HOME", "/somewhere", 1);
    EXPECT_EQ(Registry::CurrentUser().File(), "/somewhere/varnu/registry.reg");
    if (pConfig != nullptr) {
        setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    } else {
        unsetenv("XDG_CONFIG_HOME");
    }
}

}  // namespace
