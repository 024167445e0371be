#include "keyref/user_keys_page.h"
#include <vector>
#include "keyref/key_words.h"

namespace {

std::string LabelOf(RemoteKeyCode code) {
    const char *label = RemoteKeyLabel(code, 0);
    if (!*label) label = RemoteKeyLabel(code, 1); // keys 11 and 28 exist on the Japanese remote only
    return *label ? std::string(label) + " (" + std::to_string(code) + ")" : "key " + std::to_string(code);
}

std::string Describe(const UserAction &action) {
    char text[64];
    FormatUserAction(action, text, sizeof text);
    std::string value = text;
    std::string rest = value.substr(value.find(':') + 1);
    for (size_t at; (at = rest.find("VK_")) != std::string::npos;) rest.erase(at, 3);
    switch (action.kind) {
    case kUserPost: return rest + " (posted to the window)";
    case kUserChord: return rest + " (typed)";
    case kUserAppCommand: return "command " + rest;
    default: return "-";
    }
}

} // namespace

std::string UserKeysPage(const UserKeyMap &map, const std::string &source) {
    std::string page = "# What each remote key does in your programs\n"
                       "\n"
                       "Written by `tools/keys-page` from " + source + ".\n"
                       "\n"
                       "While no TV application runs, a key listed under a program goes to that program when its\n"
                       "window is in front. Every other key does what it does with no TV application (see the\n"
                       "key reference, docs/keys.md): the number keys move the mouse pointer.\n";
    if (map.count == 0) page += "\nThe file maps no keys.\n";
    for (int i = 0; i < map.count; ++i) {
        const UserKeySection &s = map.sections[i];
        page += std::string("\n## ") + s.name + "\n\nWhen the window in front is";
        if (s.process[0]) page += std::string(" of the program ") + s.process;
        if (s.process[0] && s.windowClass[0]) page += " and";
        if (s.windowClass[0]) page += std::string(" of the class ") + s.windowClass;
        page += ".\n\n| Key | Sent as |\n|---|---|\n";
        // In the remote's order, then the codes only the Japanese remote sends.
        size_t count;
        const RemoteKey *keys = RemoteKeys(0, &count);
        std::vector<RemoteKeyCode> order;
        for (size_t k = 0; k < count; ++k)
            if (keys[k].code >= 0 && keys[k].code < kUserKeyCount) order.push_back(keys[k].code);
        for (RemoteKeyCode code : {11, 28}) order.push_back(code);
        for (RemoteKeyCode code : order)
            if (s.keys[code].kind != kUserNone) page += "| " + LabelOf(code) + " | " + Describe(s.keys[code]) + " |\n";
    }
    return page;
}
