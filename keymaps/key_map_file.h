// KeyMaps.ini: remote keys for the programs people use today (players,
// browsers), written by the user. This library is the file itself: its text
// in any encoding Notepad writes, its lines read and reported one by one, the
// table of action kinds (name, parser, formatter, words), the lookup of a key
// for the program in front. It includes no Windows header and uses its own
// small types, so the tray program, the key-map editor and the fuzzers build
// the very same code. Delivering an action is the tray program's business.
#pragma once
#include <stddef.h>
#include <stdint.h>

const int kKeyMapKeys = 32;            // KeyN: N is a remote key code 0..31
const int kKeyMapSectionsPerFile = 64; // more sections are not read
const size_t kKeyMapFileBytes = 65536; // more of a file's text is not read
const size_t kKeyMapPoolBytes = 32768; // names and command lines of one file

// The kinds of action, in the order of the kinds' table (kUserActionKinds).
enum UserActionKind : uint8_t {
    kActionNone = 0,
    kActionPost,   // post:   WM_KEYDOWN then WM_KEYUP posted to the program's window
    kActionChord,  // chord:  modifiers and one key through SendInput
    kActionApp,    // app:    WM_APPCOMMAND
    kActionRun,    // run:    a program started with the user's own rights
    kActionVolume, // volume: the default playback device's level or mute
    kActionMedia,  // media:  a media key for whichever program plays
    kActionPower,  // power:  sleep, hibernate, the monitor off, lock
    kActionKindCount
};

// Modifier bits of a chord, pressed in this order.
enum : uint8_t { kModCtrl = 1, kModAlt = 2, kModShift = 4, kModWin = 8 };
enum VolumeOp : uint8_t { kVolumeUp, kVolumeDown, kVolumeMute };
enum PowerOp : uint8_t { kPowerSleep, kPowerHibernate, kPowerMonitorOff, kPowerLock };

// One action in four bytes; what `code` and `arg` hold depends on the kind.
struct UserAction {
    UserActionKind kind;
    uint8_t code; // post, chord, media: a virtual key; app: an APPCOMMAND_ number; volume, power: the op
    uint16_t arg; // chord: modifier bits; volume: the step in percent; run: its text in the pool
};

const int kDefaultVolumeStep = 2; // percent, for "volume:up" without a number

struct UserKeySection {
    uint16_t name, process, windowClass; // texts in the pool; 0 is "" (not given)
    bool everywhere;                     // Process=*: whatever is in front
    bool replaced;                       // a section of the same name in an earlier file wins
    uint32_t noRepeat;                   // KeyN.repeat=no, one bit per key
    int headerLine;                      // 1-based line of its [header]
    UserAction keys[kKeyMapKeys];         // KeyN=
    UserAction longKeys[kKeyMapKeys];     // KeyN.long=: held LongPressMs
};

// The sections of one file and the pool their texts are kept in. A map is
// filled by ParseKeyMap; zero-initialised or Clear()ed, it is empty.
struct UserKeyMap {
    UserKeySection sections[kKeyMapSectionsPerFile];
    int count;
    size_t poolUsed; // pool[0] is the empty text every 0 points to
    char pool[kKeyMapPoolBytes];
};

void ClearKeyMap(UserKeyMap &map);
// A text of the pool: "" for 0 or a place outside it.
const char *KeyMapText(const UserKeyMap &map, uint16_t at);

// What a line of the file is, as ParseKeyMap reports it for every line.
enum KeyMapLineRole : uint8_t {
    kLineBlank,   // empty, or only a comment (";" or "#")
    kLineHeader,  // [name]
    kLineProcess, // Process=
    kLineClass,   // Class=
    kLineKey,     // KeyN=
    kLineLong,    // KeyN.long=
    kLineRepeat,  // KeyN.repeat=
    kLineSkipped, // not understood: `skipped` says why
    kLineIgnored  // a setting in a section that is not read (its header was skipped)
};

struct KeyMapLine {
    int number;          // 1-based; 0 for what concerns the whole file
    size_t begin, end;   // its bytes in the text, without the line break
    KeyMapLineRole role;
    int section;         // index in the map of the section it belongs to; -1 for none
    int key;             // KeyN lines: N; else -1
    const char *skipped; // why it was skipped; null when it was read
};

// Called for every line of the text, in order.
typedef void (*KeyMapLineSink)(void *context, const KeyMapLine &line);

// Reads one file's UTF-8 text (DecodeKeyMapText gives it from the file's
// bytes) into `map`, which it clears first. A text longer than
// kKeyMapFileBytes is read up to the last line that ends within it (reported
// as line 0). Lines not understood are skipped and reported with why. A
// section naming neither Process= nor Class= keeps its place but matches
// nothing; its header is reported once more, as skipped, after its lines.
// Returns the number of sections, those included.
int ParseKeyMap(const char *text, size_t length, UserKeyMap &map, KeyMapLineSink sink, void *context);

// A section of `later` (the machine's file) whose name a section of `earlier`
// (the user's) has, compared without regard to case, is marked replaced.
void MarkReplacedSections(const UserKeyMap &earlier, UserKeyMap &later);

// What a key does for the program in front: the first section, of the maps
// in their order, that matches the window and maps the key (press or long),
// looking first at the sections that name the program or class and then at
// the Process=* ones. Names are compared case-insensitively and ordinally.
struct UserKeyBinding {
    const UserKeyMap *map;           // null when no section maps the key
    const UserKeySection *section;
    const UserAction *press;      // its KeyN= (kind kActionNone when only long)
    const UserAction *hold;       // its KeyN.long= (kind kActionNone when none)
    bool repeats;                // no KeyN.repeat=no
};
UserKeyBinding FindKeyBinding(const UserKeyMap *const *maps, int mapCount, const char *process, const char *windowClass,
                          int code);

// The table of action kinds: one row per kind, in UserActionKind order (row 0
// is kActionNone). A new kind is one row here, and one row of the tray
// program's delivery table.
struct UserActionKindRow {
    UserActionKind kind;
    const char *name; // before the colon: "post"
    // Reads the value after the colon (trimmed, not empty) into `action`;
    // texts go to `map`'s pool. Returns null, or why the value is not understood.
    const char *(*parse)(char *value, UserKeyMap &map, UserAction &action);
    // The value after the colon as the file would have it.
    void (*format)(const UserKeyMap &map, const UserAction &action, char *out, size_t size);
    // Words for the key reference and the display: the value ("VK_" left out)
    // in place of its "%s", "%s (posted to the window)" giving "SPACE (posted to the window)".
    const char *words;
    // Whether it may act again while the key is held; null: never (run:, power:).
    bool (*repeats)(const UserAction &action);
};
extern const UserActionKindRow kUserActionKinds[kActionKindCount];

// A whole value, "post:VK_SPACE": parsed (null, or why not) or written back.
const char *ParseUserAction(const char *value, UserKeyMap &map, UserAction &action);
void FormatUserAction(const UserKeyMap &map, const UserAction &action, char *out, size_t size);
void DescribeUserAction(const UserKeyMap &map, const UserAction &action, char *out, size_t size);

// run: the program (quotes removed) and its arguments ("" for none).
void SplitRunCommand(const UserKeyMap &map, const UserAction &action, char *program, size_t programSize,
                     const char **arguments);

// "VK_SPACE"-style key names: read, and the name written back.
bool ParseVirtualKey(const char *text, uint8_t *vk);
void FormatVirtualKey(uint8_t vk, char *out, size_t size);
// Whether a key's scan code needs the extended-key flag (arrows, Home, Win...).
bool IsExtendedVirtualKey(uint8_t vk);

// The encodings Notepad writes. Without a byte-order mark, text that is valid
// UTF-8 is taken as UTF-8, anything else as the system's ANSI code page.
enum KeyMapEncoding : uint8_t { kEncodingAnsi, kEncodingUtf8, kEncodingUtf8Bom, kEncodingUtf16Le, kEncodingUtf16Be };
KeyMapEncoding DetectKeyMapEncoding(const char *bytes, size_t length);
// The file's bytes as UTF-8 (the byte-order mark left out) in at most `size`
// bytes; when the text does not fit, it ends after the last whole line that
// does and `*cut` is set. ANSI needs the system's code page: `ansi` converts
// it, returning the length written (null: bytes over 0x7F taken as Latin-1).
// Returns the length written.
typedef size_t (*AnsiToUtf8)(const char *bytes, size_t length, char *out, size_t size);
size_t DecodeKeyMapText(const char *bytes, size_t length, char *out, size_t size, AnsiToUtf8 ansi, bool *cut);
// The way back, for what this library reads itself: UTF-8 `text` in
// `encoding`, its byte-order mark first; kEncodingAnsi as Latin-1. False when
// `out` is too small or the text has a character (or a byte that is not
// UTF-8) the encoding cannot give; `*written` is the length.
bool EncodeKeyMapText(const char *text, size_t length, KeyMapEncoding encoding, char *out, size_t size,
                      size_t *written);

// UTF-8 names compared as Windows compares names ordinally ignoring case
// (upper case by code point: ASCII, Latin, Greek, Cyrillic); 0 when equal.
int CompareNamesIgnoringCase(const char *a, const char *b);
