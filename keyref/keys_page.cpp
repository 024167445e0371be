// Writes the key reference page (docs/keys.md) from the key map tables:
//   keys_page <output file>
// Fails, naming each one, when a key sends something that has no description.
// With a user's key maps, writes their page instead, reporting skipped lines:
//   keys_page <output file> <KeyMaps.ini>
#include <stdio.h>
#include <string>
#include "keyref/key_words.h"
#include "keyref/user_keys_page.h"
#include "routing/poll_timing.h"

namespace {

const char kIntro[] =
    "# What each remote key does\n"
    "\n"
    "Written by `tools/keys-page` from the key maps Telvix acts on; do not edit by hand.\n"
    "\n"
    "Telvix sends each remote key to one place. With a TV application started from the remote (the\n"
    "Power key starts the default one, chosen in Setting), the keys go to that application as its\n"
    "table says. With none running, the number keys work the mouse pointer, Power starts the default\n"
    "application and PC off asks whether to shut the computer down. A key pressed while a TV\n"
    "application's window is open, but not started from the remote, goes to that application.\n"
    "\n"
    "On a computer set to Japan (country code 81) the remote uses the Japanese layout: each key sends\n"
    "its own number, keys 0, 10 and 23 become the channel keys 10, 11 and 12, and Pause and Snap swap.\n"
    "\"Sent as\" is what reaches the application: a key or chord, or \"command n\", the Honestech\n"
    "applications' private message. A held key repeats; a TV application gets the first press and\n"
    "every ";
// ... kRepeatPassEvery, then:
const char kIntroEnd[] = "th repeat, the pointer every one, in growing steps.\n";

std::string Cell(const std::string &text) { return text.empty() ? "-" : text; }

bool WritePage(const char *path, const std::string &page) {
    FILE *file = fopen(path, "wb");
    if (!file) {
        fprintf(stderr, "keys_page: cannot write %s\n", path);
        return false;
    }
    bool written = fwrite(page.data(), 1, page.size(), file) == page.size();
    return fclose(file) == 0 && written;
}

void ReportSkipped(void *source, const KeyMapLine &line) {
    if (line.skipped) fprintf(stderr, "keys_page: %s line %d skipped: %s\n", (const char *)source, line.number, line.skipped);
}

int UserMapsPage(const char *output, const char *input) {
    FILE *file = fopen(input, "rb");
    if (!file) {
        fprintf(stderr, "keys_page: cannot read %s\n", input);
        return 1;
    }
    // UTF-16 takes twice the bytes of the text that is read.
    std::string bytes(2 * kKeyMapFileBytes + 2, '\0'), text(kKeyMapFileBytes, '\0');
    bytes.resize(fread(&bytes[0], 1, bytes.size(), file));
    fclose(file);
    bool cut;
    text.resize(DecodeKeyMapText(bytes.data(), bytes.size(), &text[0], text.size(), nullptr, &cut));
    if (cut) fprintf(stderr, "keys_page: %s is longer than 64 KB: the rest is not read\n", input);
    static UserKeyMap map;
    ParseKeyMap(text.data(), text.size(), map, ReportSkipped, (void *)input);
    const char *name = input;
    for (const char *c = input; *c; ++c)
        if (*c == '\\' || *c == '/') name = c + 1;
    return WritePage(output, UserKeysPage(map, name)) ? 0 : 1;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 2 && argc != 3) {
        fprintf(stderr, "usage: keys_page <output file> [KeyMaps.ini]\n");
        return 1;
    }
    if (argc == 3) return UserMapsPage(argv[1], argv[2]);
    std::string page = kIntro + std::to_string(kRepeatPassEvery) + kIntroEnd;
    int missing = 0;
    for (int app = kNoTvApp; app <= kTvAppCount; ++app) {
        for (int japan = 0; japan <= 1; ++japan) {
            page += std::string("\n## ") + TvAppTitle(app) + (japan ? ", Japanese layout" : "") + "\n\n";
            page += "| Key | What it does | Sent as |\n|---|---|---|\n";
            size_t count;
            const RemoteKey *keys = RemoteKeys(japan, &count);
            for (size_t i = 0; i < count; ++i) {
                KeyWords w = DescribeKey(app, japan, keys[i].code);
                if (!w.sends.empty() && w.does.empty()) {
                    fprintf(stderr, "keys_page: no description for \"%s\" (%s, key %d%s)\n", w.sends.c_str(),
                            TvAppTitle(app), keys[i].code, japan ? ", Japanese layout" : "");
                    ++missing;
                }
                std::string sends = w.sends.empty() ? "" : w.sends + (w.note.empty() ? "" : " (" + w.note + ")");
                page += "| " + std::string(keys[i].label) + " (" + std::to_string(keys[i].code) + ") | " +
                        (w.sends.empty() ? "nothing" : Cell(w.does)) + " | " + Cell(sends) + " |\n";
            }
        }
    }
    if (missing) return 2;
    return WritePage(argv[1], page) ? 0 : 1;
}
