// The key-map editor's decisions that need no window: the value a key's line
// gets from the action dialog's fields, what a key does without a map, and
// the main window's layout at every DPI it is used at.
#include <gtest/gtest.h>
#include <string.h>
#include <string>
#include "editor/action_value.h"
#include "editor/key_roles.h"
#include "editor/layout.h"
#include "routing/pointer.h"

namespace {

ActionFields Fields(UserActionKind kind, const char *option = "", int step = kDefaultVolumeStep) {
    ActionFields f = {};
    f.kind = kind;
    f.step = step;
    strcpy(f.option, option);
    return f;
}

ActionFields Key(UserActionKind kind, uint8_t vk, uint8_t modifiers = 0) {
    ActionFields f = Fields(kind);
    f.vk = vk;
    f.modifiers = modifiers;
    return f;
}

ActionFields RunFields(const char *program, const char *arguments) {
    ActionFields f = Fields(kActionRun);
    strcpy(f.program, program);
    strcpy(f.arguments, arguments);
    return f;
}

} // namespace

// Each kind gives the formatter's own text, which reads back to the same
// fields; what the file cannot hold is refused with a reason.
TEST(ActionDialogValue, FieldsGiveTheFormattersTextOrAReason) {
    const struct {
        const char *name;
        ActionFields fields;
        const char *value; // null: refused
    } cases[] = {
        {"nothing", Fields(kActionNone), ""},
        {"post", Key(kActionPost, 0x20), "post:VK_SPACE"},
        {"post drops modifiers", Key(kActionPost, 0x46, kModCtrl), "post:F"},
        {"post without a key", Key(kActionPost, 0), nullptr},
        {"chord", Key(kActionChord, 0x27, kModCtrl | kModShift | kModWin), "chord:Ctrl+Shift+Win+VK_RIGHT"},
        {"app", Fields(kActionApp, "MEDIA_PLAY_PAUSE"), "app:MEDIA_PLAY_PAUSE"},
        {"app unknown", Fields(kActionApp, "NOPE"), nullptr},
        {"volume default step", Fields(kActionVolume, "up"), "volume:up"},
        {"volume step", Fields(kActionVolume, "down", 5), "volume:down 5"},
        {"volume step out of range", Fields(kActionVolume, "up", 101), nullptr},
        {"mute has no step", Fields(kActionVolume, "mute", 5), "volume:mute"},
        {"media", Fields(kActionMedia, "next"), "media:next"},
        {"power", Fields(kActionPower, "monitor-off"), "power:monitor-off"},
        {"power nothing chosen", Fields(kActionPower, ""), nullptr},
        {"run quoted", RunFields("C:\\Program Files\\P\\p.exe", "/full screen"), "run:\"C:\\Program Files\\P\\p.exe\" /full screen"},
        {"run without arguments", RunFields("C:\\p.exe", ""), "run:\"C:\\p.exe\""},
        {"run without a program", RunFields("", "/x"), nullptr},
        {"run with a comment's semicolon", RunFields("C:\\p.exe", "a;b"), nullptr},
        {"run with a quote in the name", RunFields("C:\\p\".exe", ""), nullptr},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        char value[1200] = "x";
        const char *why = ActionValueText(c.fields, value, sizeof value);
        if (!c.value) {
            EXPECT_NE(why, nullptr);
            EXPECT_STREQ(value, "");
            continue;
        }
        ASSERT_EQ(why, nullptr) << why;
        EXPECT_STREQ(value, c.value);
        ActionFields back;
        ActionFieldsFromValue(value, back);
        char again[1200];
        EXPECT_EQ(ActionValueText(back, again, sizeof again), nullptr);
        EXPECT_STREQ(again, c.value) << "read back from the file's text";
    }
    // Every choice the lists offer is a value the parser takes.
    const struct {
        UserActionKind kind;
        const ActionChoice *choices;
        int count;
    } lists[] = {{kActionVolume, kVolumeChoices, 3}, {kActionMedia, kMediaChoices, 4}, {kActionPower, kPowerChoices, 4}};
    for (const auto &list : lists)
        for (int i = 0; i < list.count; ++i) {
            char value[64];
            EXPECT_EQ(ActionValueText(Fields(list.kind, list.choices[i].option), value, sizeof value), nullptr)
                << list.choices[i].option;
        }
    char name[40], words[40];
    ASSERT_TRUE(AppCommandChoice(14, name, sizeof name, words, sizeof words));
    EXPECT_STREQ(name, "MEDIA_PLAY_PAUSE");
    EXPECT_STREQ(words, "Media play pause");
    EXPECT_FALSE(AppCommandChoice(0, name, sizeof name, words, sizeof words));
}

// The editor's words for a key without a map agree with the pointer's own
// table, and the keys it shows as fixed are those the parser refuses.
TEST(KeyRoles, WithoutAMapTheKeysDoWhatThePointerDoesAndTheFixedOnesTakeNoMap) {
    for (int code = 0; code < 32; ++code) {
        SCOPED_TRACE(code);
        std::string direction = MoveDirectionName(code);
        if (!direction.empty()) {
            EXPECT_EQ(UnmappedKeyWords(code), "moves the pointer " + direction);
        }
        if (code > 10) {
            EXPECT_STREQ(UnmappedKeyWords(code), "nothing");
            EXPECT_EQ(PointerKey(code).reason, kNothingMapped);
        }
        static UserKeyMap map;
        std::string text = "[a]\nProcess=a.exe\nKey" + std::to_string(code) + "=post:A\n";
        ParseKeyMap(text.data(), text.size(), map, nullptr, nullptr);
        EXPECT_EQ(FixedKeyRole(code) != nullptr, map.sections[0].keys[code].kind == kActionNone);
    }
    EXPECT_NE(FixedKeyRole(256), nullptr) << "Fn1 sends a code no KeyN names";
}

// At 100 % to 200 %, at the smallest size and larger, every control lies in
// the window and none covers another.
TEST(MainWindowLayout, EveryControlFitsAndNoneOverlapsAtEveryScale) {
    for (int dpi : {96, 120, 144, 168, 192}) {
        int minWidth, minHeight;
        MinimumClientSize(dpi, &minWidth, &minHeight);
        const int sizes[][2] = {{minWidth, minHeight}, {minWidth + 517, minHeight + 301}, {10, 10}};
        for (const auto &size : sizes) {
            SCOPED_TRACE(testing::Message() << dpi << " DPI, " << size[0] << "x" << size[1]);
            LayoutBox boxes[kLayoutItemCount];
            LayOutMainWindow(size[0], size[1], dpi, boxes);
            int width = size[0] < minWidth ? minWidth : size[0], height = size[1] < minHeight ? minHeight : size[1];
            for (int i = 0; i < kLayoutItemCount; ++i) {
                const LayoutBox &a = boxes[i];
                EXPECT_TRUE(a.x >= 0 && a.y >= 0 && a.width > 0 && a.height > 0 && a.x + a.width <= width &&
                            a.y + a.height <= height)
                    << "item " << i;
                for (int j = i + 1; j < kLayoutItemCount; ++j) {
                    const LayoutBox &b = boxes[j];
                    EXPECT_FALSE(a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height &&
                                 b.y < a.y + a.height)
                        << "items " << i << " and " << j;
                }
            }
        }
    }
}
