#include <gtest/gtest.h>
#include <string>
#include "platform/windows_dir.h"

TEST(WindowsDir, JoinsOnlyAWholeDirectoryThatFitsAndAResultThatFits) {
    char out[160];
    EXPECT_TRUE(JoinWindowsDir("C:\\WINDOWS", 10, "\\win.ini", out, sizeof out));
    EXPECT_STREQ(out, "C:\\WINDOWS\\win.ini");

    std::string dir127(127, 'd');
    EXPECT_TRUE(JoinWindowsDir(dir127.c_str(), 127, "\\x", out, sizeof out));
    EXPECT_EQ(std::string(out), dir127 + "\\x");

    // GetWindowsDirectoryA reports the size it needs when 128 bytes are too
    // few, and 0 on failure: neither gives a path to delete or read.
    std::string cut(127, 'c');
    EXPECT_FALSE(JoinWindowsDir(cut.c_str(), 128, "\\x", out, sizeof out));
    EXPECT_FALSE(JoinWindowsDir(cut.c_str(), 300, "\\x", out, sizeof out));
    EXPECT_FALSE(JoinWindowsDir("", 0, "\\x", out, sizeof out));

    // A result longer than its buffer is refused, not cut.
    char small[16];
    EXPECT_FALSE(JoinWindowsDir("C:\\WINDOWS", 10, "\\Start Menu\\x.lnk", small, sizeof small));
    EXPECT_TRUE(JoinWindowsDir("C:\\W", 4, "\\win.ini", small, sizeof small));
}

TEST(WindowsDir, SystemDirectoryJoins) {
    char out[MAX_PATH], dir[MAX_PATH];
    GetWindowsDirectoryA(dir, sizeof dir);
    ASSERT_TRUE(WindowsDirPath("\\win.ini", out, sizeof out));
    EXPECT_EQ(std::string(out), std::string(dir) + "\\win.ini");
}
