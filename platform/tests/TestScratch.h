// Scratch folder of a test executable (VARNU_TEST_SCRATCH, else /tmp), with a
// fresh sub-folder per test.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace testutil {

inline std::string ScratchRoot() {
    const char* root = std::getenv("VARNU_TEST_SCRATCH");
    return root != nullptr && root[0] != '\0' ? root : "/tmp";
}

// A new empty folder for the running test, ending without '/'.
inline std::string FreshFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    for (char& c : name) {
        if (c == '/')
            c = '_';
    }
    const std::string path = ScratchRoot() + "/" + name;
    const std::string command = "rm -rf '" + path + "'";
    if (std::system(command.c_str()) != 0 || mkdir(path.c_str(), 0755) != 0) {
        ADD_FAILURE() << "cannot make " << path;
    }
    return path;
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

inline bool FileExists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

inline void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

}  // namespace testutil
