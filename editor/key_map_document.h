// One KeyMaps.ini as the editor holds it: the file's text as read, its lines
// as the parser reported them, and the edits made since. An edit rewrites
// only the lines it concerns and reads the text again, so the map, the
// problems and the file's bytes always agree; saving gives back every
// untouched line byte for byte, in the encoding the file had. No Windows
// header: the fuzzers build it natively.
#pragma once
#include <stddef.h>
#include "keymaps/key_map_file.h"

// A line the parser skipped, for the list of problems.
struct KeyMapProblem {
    int line;        // 1-based; 0 for the whole file (a text cut at its size)
    int section;     // the section it belongs to, -1 for none
    const char *why; // the parser's reason
};

// Which line of a key: its action, its long-press action, its repeat.
enum KeyLineKind : unsigned char { kKeyPress, kKeyLong, kKeyRepeat };

const int kKeyMapProblemsShown = 256;
// Every line of a full file of empty lines.
const int kKeyMapDocumentLines = (int)kKeyMapFileBytes;

struct KeyMapDocument {
    KeyMapEncoding encoding; // what the file had; a new file: UTF-8 without BOM
    bool crlf;               // the line break the file uses most ("\r\n" for a new file)
    bool cut;                // the file is larger than is read: shown, never saved
    const char *readOnly;    // why it is never saved (cut, or bytes its encoding cannot give back); null: it may be
    char lineBreak[3];       // what new lines end with: the file's most used "\r\n", "\n" or "\r"
    bool modified;           // edited since loaded or saved
    size_t length;           // of text
    char text[kKeyMapFileBytes];
    UserKeyMap map;
    KeyMapLine lines[kKeyMapDocumentLines]; // in order, one per line of the text
    int lineCount;
    KeyMapProblem problems[kKeyMapProblemsShown];
    int problemCount;
};

// The ANSI code page's conversion both ways: from ANSI (keymaps' AnsiToUtf8),
// and back, returning the length written or 0 when a character has no ANSI form.
typedef size_t (*Utf8ToAnsi)(const char *utf8, size_t length, char *out, size_t size);

// An empty new file.
void NewKeyMapDocument(KeyMapDocument &doc);
// From the file's bytes; false when they cannot be read as a key-map file
// (the ANSI conversion gave nothing): the document is then empty and read-only.
// A null `ansi` takes bytes over 0x7F as Latin-1 both ways.
bool LoadKeyMapDocument(KeyMapDocument &doc, const char *bytes, size_t length, AnsiToUtf8 ansi);
// The same, and with `back` an ANSI file is also checked to encode to its own
// bytes again (UTF-8 and UTF-16 always are): one that would not, as a byte the
// code page has no character for, is read-only, so no line changes unasked.
bool LoadKeyMapDocument(KeyMapDocument &doc, const char *bytes, size_t length, AnsiToUtf8 ansi, Utf8ToAnsi back);
// Never to be saved, for `why` (a file that could not be read); shown among the problems.
void MarkKeyMapDocumentReadOnly(KeyMapDocument &doc, const char *why);
// The bytes to save: the text in the file's encoding (its BOM first). Returns
// the length, 0 when `out` is too small or the text has no form in that encoding.
size_t EncodeKeyMapDocument(const KeyMapDocument &doc, char *out, size_t size, Utf8ToAnsi ansi);
// The same, saying why when it fails (`*why` null: it did not, an empty text
// gives 0 bytes). A read-only document fails with its readOnly.
size_t EncodeKeyMapBytes(const KeyMapDocument &doc, char *out, size_t size, Utf8ToAnsi ansi, const char **why);
// The most bytes EncodeKeyMapBytes can give for a document (UTF-16: two per byte of text).
const size_t kKeyMapSavedBytes = 2 * kKeyMapFileBytes + 3;

// The value of a key's line as the file has it ("post:VK_SPACE", "no"), "" for none.
void KeyLineValue(const KeyMapDocument &doc, int section, int key, KeyLineKind kind, char *out, size_t size);

// Edits; each returns false (and changes nothing) when the result would not
// read back as asked (a value the parser refuses, a full file, no such section,
// a name another section has, a line break or control character in a text).
// The rest of the map must read as before, or the edit is refused too.
// `value` is what follows "KeyN=" ("" removes the line); repeat takes "no" or "".
// The key's line is rewritten in place, its comment kept; other lines naming the
// same KeyN (skipped duplicates) go. A new one follows the section's last line
// that is not blank or a comment: the comments before the next header stay its.
bool SetKeyLine(KeyMapDocument &doc, int section, int key, KeyLineKind kind, const char *value);
// A new section at the end, after a blank line: [name], Process= and/or Class= (either may be "",
// not both; "*" for every program). Returns its index or -1.
int AddSection(KeyMapDocument &doc, const char *name, const char *process, const char *windowClass);
bool RenameSection(KeyMapDocument &doc, int section, const char *name);
// Its header to the line before the next header, comments within included.
bool RemoveSection(KeyMapDocument &doc, int section);
// A section of another document (the machine's file) appended with all its
// lines, from its header to its last that is not blank or a comment. Its index or -1.
int CopySection(KeyMapDocument &doc, const KeyMapDocument &from, int section);
// The section whose [header] is on `line` or holds it, -1 for none.
int SectionOfLine(const KeyMapDocument &doc, int line);
