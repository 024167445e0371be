#include <gtest/gtest.h>
#include "apps/tv_app_table.h"
#include "platform/window_search.h"
#include "tests/support/test_windows.h"

TEST(WindowSearch, TitlePrefixIsCaseSensitiveAndTakesTheTopmostMatch) {
    TestWindow lower("SearchA", "home theater lower");
    TestWindow older("SearchB", "Home Theater - older");
    TestWindow newer("SearchB", "Home Theater - newer"); // created last: on top
    EXPECT_EQ(FindWindowByTitlePrefix("Home Theater"), newer.hwnd());
    EXPECT_EQ(FindWindowByTitlePrefix("home theater"), lower.hwnd());
    EXPECT_EQ(FindWindowByTitlePrefix("HOME THEATER"), nullptr);
}

TEST(WindowSearch, TitlesLongerThanTheBufferCompareOnTheirFirst127Characters) {
    std::string longTitle(300, 'L');
    TestWindow window("SearchLong", longTitle);
    EXPECT_EQ(FindWindowByTitlePrefix(std::string(127, 'L').c_str()), window.hwnd());
    // A prefix longer than the buffer can hold never matches.
    EXPECT_EQ(FindWindowByTitlePrefix(std::string(128, 'L').c_str()), nullptr);
}

TEST(WindowSearch, HomeTheaterMainNeedsTheExactTitle) {
    TestWindow extended("SearchHT", "Home Theater - Channel 5");
    EXPECT_EQ(FindHomeTheaterMain(), nullptr);
    EXPECT_EQ(FindByTitlePrefix(homeTheaterApp), extended.hwnd());
    TestWindow exact("SearchHT", "Home Theater");
    EXPECT_EQ(FindHomeTheaterMain(), exact.hwnd());
}

TEST(WindowSearch, PowerVcrMainByClassAndVideoByChildText) {
    EXPECT_EQ(FindPowerVcrMain(), nullptr);
    TestWindow titled("SearchOther", "PowerVCR II");
    EXPECT_EQ(FindPowerVcrMain(), nullptr) << "the title alone does not make the main window";
    TestWindow main("POWERVCR II TAURUS", "");
    EXPECT_EQ(FindPowerVcrMain(), main.hwnd()) << "class names match without regard to case";

    EXPECT_EQ(FindPowerVcrVideo(), nullptr);
    TestWindow holder("SearchVideo", "any");
    holder.AddChild("VideoWindow");
    EXPECT_EQ(FindPowerVcrVideo(), nullptr) << "text must be exactly VideoWindow2";
    holder.AddChild("VideoWindow2");
    EXPECT_EQ(FindPowerVcrVideo(), holder.hwnd()) << "the top-level window is returned, not the child";
}

TEST(WindowSearch, FormMainWindowFindsEitherHonestechApplication) {
    EXPECT_EQ(FindFormMainWindow(), nullptr);
    TestWindow tvAnywhere("TV@Anywhere", "FormMainWindow");
    EXPECT_EQ(FindFormMainWindow(), tvAnywhere.hwnd());
    EXPECT_EQ(IsRunning(kTvAnywhere), 1);
    EXPECT_EQ(IsRunning(kQuickTv), 1) << "Quick TV answers to the same title";
}
