// Words for each thing the key maps send, per application. Keyed by what the
// row sends (its keystroke or command), not by the remote key, so a changed
// row needs a new description before the reference page can be written.
#include <string.h>
#include "keyref/key_words.h"

namespace {

struct Description {
    const char *group; // a row's names.descriptionGroup (its application's file in apps/)
    const char *sends;
    const char *does;
};

const Description kDescriptions[] = {
    // No TV application: the remote as a mouse, power and shutdown.
    {"No TV application", "pointer up-left", "move the pointer up and left"},
    {"No TV application", "pointer up", "move the pointer up"},
    {"No TV application", "pointer up-right", "move the pointer up and right"},
    {"No TV application", "pointer left", "move the pointer left"},
    {"No TV application", "pointer right", "move the pointer right"},
    {"No TV application", "pointer down-left", "move the pointer down and left"},
    {"No TV application", "pointer down", "move the pointer down"},
    {"No TV application", "pointer down-right", "move the pointer down and right"},
    {"No TV application", "left button down and up", "left click"},
    {"No TV application", "right button down and up", "right click"},
    {"No TV application", "left button down, or up when held", "hold the left button down for dragging; "
                                                                  "press again to let go"},
    {"No TV application", "default application: close the others, toggle it",
     "start the default TV application (close it when it runs)"},
    {"No TV application", "shutdown prompt", "ask whether to shut the computer down: Power confirms, "
                                             "any other key cancels"},

    // The power key and key 20 toggle the application that has the keys.
    {"Home Theater", "toggle", "close Home Theater (start it again when it is closed)"},
    {"Home Theater", "A", "audio"},
    {"Home Theater", "Ctrl+R", "record"},
    {"Home Theater", "Ctrl+S", "stop"},
    {"Home Theater", "Ctrl+I", "show information"},
    {"Home Theater", "F8 (scan code 0x32)", "mute"},
    {"Home Theater", "Z", "zoom"},
    {"Home Theater", "U", "menu"},
    {"Home Theater", "message 911, 24", "OK"},
    {"Home Theater", "Esc (scan code 0x26)", "back"},
    {"Home Theater", "minimise or restore", "minimise or restore the window"},
    {"Home Theater", "K", "snapshot"},
    {"Home Theater", "Page Up", "next channel"},
    {"Home Theater", "F9 (scan code 0x2A)", "volume up"},
    {"Home Theater", "F10", "pause"},
    {"Home Theater", "P", "play"},
    {"Home Theater", "Page Down", "previous channel"},
    {"Home Theater", "F10 (scan code 0x2A)", "volume down"},

    {"PowerVCR II", "toggle", "close PowerVCR II (start it again when it is closed)"},
    {"PowerVCR II", "Alt+Ctrl+F10", "channel 10"},
    {"PowerVCR II", "Alt+Ctrl+F11", "channel 11"},
    {"PowerVCR II", "Alt+Ctrl+F12", "channel 12"},
    {"PowerVCR II", "keypad *", "channel numbers from 100"},
    {"PowerVCR II", "Ctrl+U", "audio"},
    {"PowerVCR II", "R", "record (without the capture dialog)"},
    {"PowerVCR II", "S", "stop"},
    {"PowerVCR II", "T (scan code 0x58)", "show information"},
    {"PowerVCR II", "Q", "mute"},
    {"PowerVCR II", "Z", "zoom"},
    {"PowerVCR II", "Ctrl+M", "menu"},
    {"PowerVCR II", "Enter (character)", "OK"},
    {"PowerVCR II", "Ctrl+R", "back"},
    {"PowerVCR II", "its own action", "minimise or restore the main and the video window"},
    {"PowerVCR II", "Ctrl+S", "snapshot"},
    {"PowerVCR II", "N", "next channel"},
    {"PowerVCR II", "keypad +", "volume up"},
    {"PowerVCR II", "Space", "pause"},
    {"PowerVCR II", "C", "play"},
    {"PowerVCR II", "P", "previous channel"},
    {"PowerVCR II", "keypad -", "volume down"},

    // Quick TV and TV@Anywhere: command numbers in their private message.
    {"Honestech", "toggle", "close the application (start it again when it is closed)"},
    {"Honestech", "command 10010", "channel 10"},
    {"Honestech", "command 10011", "channel 11"},
    {"Honestech", "command 10012", "channel 12"},
    {"Honestech", "command 10100", "channel numbers from 100"},
    {"Honestech", "command 206", "function 3"},
    {"Honestech", "command 4004", "audio"},
    {"Honestech", "command 1001", "record"},
    {"Honestech", "command 1002", "stop"},
    {"Honestech", "command 200", "show information"},
    {"Honestech", "command 403", "mute"},
    {"Honestech", "command 3", "zoom"},
    {"Honestech", "command 300", "menu"},
    {"Honestech", "command 6000", "switch to TV"},
    {"Honestech", "command 5001", "the application's own PC off"},
    {"Honestech", "command 3001", "OK"},
    {"Honestech", "command 4003", "back"},
    {"Honestech", "command 5", "minimise or restore the window"},
    {"Honestech", "command 8", "snapshot"},
    {"Honestech", "command 4001", "next channel"},
    {"Honestech", "command 401", "volume up"},
    {"Honestech", "command 1003", "pause"},
    {"Honestech", "command 1000", "play"},
    {"Honestech", "command 4002", "previous channel"},
    {"Honestech", "command 402", "volume down"},
    {"Honestech", "command 5002", "function 1"},
    {"Honestech", "command 5003", "function 2"},
};

} // namespace

const char *DescriptionOf(const char *group, const std::string &sends) {
    for (const Description &d : kDescriptions)
        if (strcmp(d.group, group) == 0 && sends == d.sends) return d.does;
    return nullptr;
}
