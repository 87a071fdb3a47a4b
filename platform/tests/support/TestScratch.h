// Scratch folder of a test executable (VARNU_TEST_SCRATCH, else /tmp), with a
// fresh sub-folder per test, and small file helpers of the tests (target
// platform_test_support).
#pragma once

#include <gtest/gtest.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/statfs.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

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
    std::error_code error;
    std::filesystem::remove_all(path, error);
    if (error || !std::filesystem::create_directory(path, error)) {
        ADD_FAILURE() << "cannot make " << path << ": " << error.message();
    }
    return path;
}

// A new empty folder for the running test in memory (a tmpfs under
// /dev/shm), ending without '/'; empty when there is none.
inline std::string FreshMemoryFolder() {
    struct statfs fs {};
    if (statfs("/dev/shm", &fs) != 0 || static_cast<uint64_t>(fs.f_type) != TMPFS_MAGIC) {
        return "";
    }
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string("varnu.") + info->test_suite_name() + "." + info->name();
    for (char& c : name) {
        if (c == '/')
            c = '_';
    }
    const std::string path = "/dev/shm/" + name;
    std::error_code error;
    std::filesystem::remove_all(path, error);
    if (error || !std::filesystem::create_directory(path, error)) {
        ADD_FAILURE() << "cannot make " << path << ": " << error.message();
    }
    return path;
}

// The names in a folder, hidden ones (starting with '.') left out; none when
// the folder does not exist.
inline std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (name[0] != '.') {
            names.push_back(name);
        }
    }
    return names;
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
