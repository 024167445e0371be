#include "keyref/user_keys_page.h"
#include <vector>
#include "keyref/key_words.h"

namespace {

std::string LabelOf(RemoteKeyCode code) {
    const char *label = RemoteKeyLabel(code, 0);
    if (!*label) label = RemoteKeyLabel(code, 1); // keys 11 and 28 exist on the Japanese remote only
    return *label ? std::string(label) + " (" + std::to_string(code) + ")" : "key " + std::to_string(code);
}

} // namespace

std::string UserKeysPage(const UserKeyMap &map, const std::string &source) {
    std::string page = "# What each remote key does in your programs\n"
                       "\n"
                       "Written by `tools/keys-page` from " + source + ".\n"
                       "\n"
                       "While no TV application runs, a key listed under a program goes to that program when its\n"
                       "window is in front; a section of any program takes the keys that the program's own sections\n"
                       "do not map. A key \"held\" does that once instead when held down (600 ms unless you set\n"
                       "LongPressMs). Every other key does what it does with no TV application (see the key\n"
                       "reference, docs/keys.md): the number keys move the mouse pointer.\n";
    if (map.count == 0) page += "\nThe file maps no keys.\n";
    for (int i = 0; i < map.count; ++i) {
        const UserKeySection &s = map.sections[i];
        const char *process = KeyMapText(map, s.process), *windowClass = KeyMapText(map, s.windowClass);
        if (!s.everywhere && !*process && !*windowClass) continue; // matches nothing
        page += std::string("\n## ") + KeyMapText(map, s.name) + "\n\nWhen the window in front is";
        if (s.everywhere) page += " of any program";
        if (*process) page += std::string(" of the program ") + process;
        if ((*process || s.everywhere) && *windowClass) page += " and";
        if (*windowClass) page += std::string(" of the class ") + windowClass;
        page += ".\n\n| Key | Sent as |\n|---|---|\n";
        // In the remote's order, then the codes only the Japanese remote sends.
        size_t count;
        const RemoteKey *keys = RemoteKeys(0, &count);
        std::vector<RemoteKeyCode> order;
        for (size_t k = 0; k < count; ++k)
            if (keys[k].code >= 0 && keys[k].code < kKeyMapKeys) order.push_back(keys[k].code);
        for (RemoteKeyCode code : {11, 28}) order.push_back(code);
        for (RemoteKeyCode code : order) {
            char words[1100];
            if (s.keys[code].kind != kActionNone) {
                DescribeUserAction(map, s.keys[code], words, sizeof words);
                page += "| " + LabelOf(code) + " | " + words + " |\n";
            }
            if (s.longKeys[code].kind != kActionNone) {
                DescribeUserAction(map, s.longKeys[code], words, sizeof words);
                page += "| " + LabelOf(code) + ", held | " + words + " |\n";
            }
        }
    }
    return page;
}
