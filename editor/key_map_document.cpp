// An edit is a few splices of the text made on a scratch copy, which is read
// again and held against the map as it was: kept only when the one thing asked
// changed and nothing else did.
#include "editor/key_map_document.h"
#include <stdio.h>
#include <string.h>

namespace {

const char kCutWhy[] = "longer than 64 KB: the rest is not read, so it is never saved";
const char kLossyWhy[] = "bytes that are not text in its encoding: saving would change them, so it is never saved";
const char kUnreadWhy[] = "not text in the system's code page (ANSI)";
const char kNoRoomWhy[] = "no room for the file's bytes";
const char kNoFormWhy[] = "text that is not UTF-8";
const char kNoAnsiWhy[] = "a character has no form in the file's encoding, the system's code page (ANSI)";
const char kMisreadWhy[] = "its bytes would be read back in another encoding";

KeyMapDocument scratch;
// What a loaded file encodes to again, held against its bytes.
char encoded[kKeyMapSavedBytes];
// An asked action as it reads, for the comparison after the edit.
UserKeyMap expected;

KeyMapLineRole RoleOf(KeyLineKind kind) {
    return kind == kKeyLong ? kLineLong : kind == kKeyRepeat ? kLineRepeat : kLineKey;
}

void Collect(void *context, const KeyMapLine &line) {
    KeyMapDocument &doc = *static_cast<KeyMapDocument *>(context);
    // A header reported again (its section names no window) is not a line of its own.
    bool again = doc.lineCount && line.number <= doc.lines[doc.lineCount - 1].number;
    if (line.number > 0 && !again && doc.lineCount < kKeyMapDocumentLines) doc.lines[doc.lineCount++] = line;
    if (line.skipped && doc.problemCount < kKeyMapProblemsShown)
        doc.problems[doc.problemCount++] = KeyMapProblem{line.number, line.section, line.skipped};
}

void Read(KeyMapDocument &doc) {
    doc.lineCount = 0;
    doc.problemCount = 0;
    if (doc.readOnly) doc.problems[doc.problemCount++] = KeyMapProblem{0, -1, doc.readOnly};
    ParseKeyMap(doc.text, doc.length, doc.map, Collect, &doc);
}

void ChooseLineBreak(KeyMapDocument &doc) {
    size_t crlf = 0, lf = 0, cr = 0;
    for (size_t i = 0; i < doc.length; ++i) {
        if (doc.text[i] == '\n') ++lf;
        else if (doc.text[i] != '\r') continue;
        else if (i + 1 < doc.length && doc.text[i + 1] == '\n') ++crlf, ++i;
        else ++cr;
    }
    const char *use = lf > crlf && lf >= cr ? "\n" : cr > crlf && cr > lf ? "\r" : "\r\n";
    (void)snprintf(doc.lineBreak, sizeof doc.lineBreak, "%s", use);
    doc.crlf = use[1] == '\n';
}

bool IsAscii(const char *text, size_t length) {
    for (size_t i = 0; i < length; ++i)
        if ((unsigned char)text[i] >= 0x80) return false;
    return true;
}

// The text in the document's encoding, whether or not it may be saved.
size_t EncodeText(const KeyMapDocument &doc, char *out, size_t size, Utf8ToAnsi ansi, const char **why) {
    size_t n = 0;
    *why = nullptr;
    if (doc.encoding == kEncodingAnsi && ansi) {
        n = doc.length ? ansi(doc.text, doc.length, out, size) : 0;
        if (doc.length && !n) *why = size < doc.length ? kNoRoomWhy : kNoAnsiWhy;
    } else if (!EncodeKeyMapText(doc.text, doc.length, doc.encoding, out, size, &n)) {
        *why = size < 2 * doc.length + 3 ? kNoRoomWhy : doc.encoding == kEncodingAnsi ? kNoAnsiWhy : kNoFormWhy;
    }
    if (*why) return 0;
    // Without a mark, ANSI and UTF-8 tell apart only by the bytes: pure ASCII reads the same either way.
    KeyMapEncoding read = DetectKeyMapEncoding(out, n);
    bool plain = (read == kEncodingAnsi || read == kEncodingUtf8) &&
                 (doc.encoding == kEncodingAnsi || doc.encoding == kEncodingUtf8) && IsAscii(doc.text, doc.length);
    if (read != doc.encoding && !plain) *why = kMisreadWhy;
    return *why ? 0 : n;
}

// Telvix reads an ANSI text that comes within 3 bytes of its buffer as cut.
size_t TextLimit(const KeyMapDocument &doc) {
    return doc.encoding == kEncodingAnsi ? kKeyMapFileBytes - 3 : kKeyMapFileBytes;
}

// Texts the user gives: one line of UTF-8, no control character.
bool IsPlainText(const char *text) {
    size_t n = strlen(text);
    for (size_t i = 0; i < n; ++i)
        if ((unsigned char)text[i] < 0x20 || text[i] == 0x7F) return false;
    return DetectKeyMapEncoding(text, n) == kEncodingUtf8;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// `text` without the blanks around it, in `out`; false when it does not fit or is not plain.
bool TrimmedCopy(const char *text, char *out, size_t size) {
    if (!text) return false;
    while (IsBlank(*text)) ++text;
    size_t n = strlen(text);
    while (n && IsBlank(text[n - 1])) --n;
    if (n >= size) return false;
    memcpy(out, text, n);
    out[n] = 0;
    return IsPlainText(out);
}

bool Editable(const KeyMapDocument &doc, int section) {
    return !doc.readOnly && section >= 0 && section < doc.map.count;
}

bool NameTaken(const KeyMapDocument &doc, const char *name, int except) {
    for (int i = 0; i < doc.map.count; ++i)
        if (i != except && CompareNamesIgnoringCase(KeyMapText(doc.map, doc.map.sections[i].name), name) == 0)
            return true;
    return false;
}

// --- Edits on the scratch copy ---

void Begin(const KeyMapDocument &doc) {
    scratch.encoding = doc.encoding;
    scratch.crlf = doc.crlf;
    scratch.cut = doc.cut;
    scratch.readOnly = doc.readOnly;
    memcpy(scratch.lineBreak, doc.lineBreak, sizeof scratch.lineBreak);
    scratch.length = doc.length;
    memcpy(scratch.text, doc.text, doc.length);
}

// Replaces scratch.text[begin, end) with `n` bytes of `with`.
bool Splice(size_t begin, size_t end, const char *with, size_t n, size_t limit) {
    size_t kept = scratch.length - (end - begin);
    if (kept + n > limit) return false;
    memmove(scratch.text + begin + n, scratch.text + end, scratch.length - end);
    memcpy(scratch.text + begin, with, n);
    scratch.length = kept + n;
    return true;
}

bool Append(const char *with, size_t n, size_t limit) {
    return Splice(scratch.length, scratch.length, with, n, limit);
}

// A new block at the end of the file starts on a line of its own, after a blank one.
bool SeparateEnd(const KeyMapDocument &doc, size_t limit) {
    if (!doc.length) return true;
    const char *br = doc.lineBreak;
    char last = doc.text[doc.length - 1];
    if (last != '\n' && last != '\r' && !Append(br, strlen(br), limit)) return false;
    if (!doc.lineCount) return true; // a byte-order mark alone
    const KeyMapLine &line = doc.lines[doc.lineCount - 1];
    return line.end == line.begin || Append(br, strlen(br), limit);
}

void Keep(KeyMapDocument &doc) {
    bool changed = scratch.length != doc.length || memcmp(scratch.text, doc.text, doc.length) != 0;
    doc.length = scratch.length;
    memcpy(doc.text, scratch.text, scratch.length);
    doc.map = scratch.map;
    doc.lineCount = scratch.lineCount;
    memcpy(doc.lines, scratch.lines, sizeof doc.lines[0] * (size_t)scratch.lineCount);
    doc.problemCount = scratch.problemCount;
    memcpy(doc.problems, scratch.problems, sizeof doc.problems[0] * (size_t)scratch.problemCount);
    doc.modified = doc.modified || changed;
}

// --- Comparing maps: what an edit left alone must read as before ---

bool SameText(const UserKeyMap &a, uint16_t x, const UserKeyMap &b, uint16_t y) {
    return strcmp(KeyMapText(a, x), KeyMapText(b, y)) == 0;
}

bool SameAction(const UserKeyMap &a, const UserAction &x, const UserKeyMap &b, const UserAction &y) {
    if (x.kind != y.kind || x.code != y.code) return false;
    return x.kind == kActionRun ? SameText(a, x.arg, b, y.arg) : x.arg == y.arg;
}

// Sections `i` of `a` and `j` of `b` alike, but for one key's line (`key` -1: none).
bool SameSection(const UserKeyMap &a, int i, const UserKeyMap &b, int j, int key = -1, KeyLineKind kind = kKeyPress,
                 bool names = true) {
    const UserKeySection &s = a.sections[i], &t = b.sections[j];
    if ((names && !SameText(a, s.name, b, t.name)) || !SameText(a, s.process, b, t.process) ||
        !SameText(a, s.windowClass, b, t.windowClass) || s.everywhere != t.everywhere)
        return false;
    uint32_t mask = key >= 0 && kind == kKeyRepeat ? ~(1u << key) : ~0u;
    if ((s.noRepeat & mask) != (t.noRepeat & mask)) return false;
    for (int k = 0; k < kKeyMapKeys; ++k) {
        if ((k != key || kind != kKeyPress) && !SameAction(a, s.keys[k], b, t.keys[k])) return false;
        if ((k != key || kind != kKeyLong) && !SameAction(a, s.longKeys[k], b, t.longKeys[k])) return false;
    }
    return true;
}

// The scratch copy's sections are the document's, one gone at `removed` or
// one more at the end (`added`); a full file may take in one it could not read before.
bool OthersAlike(const KeyMapDocument &doc, int removed, bool added, int edited) {
    int expect = doc.map.count - (removed >= 0 ? 1 : 0) + (added ? 1 : 0);
    bool fullBefore = doc.map.count == kKeyMapSectionsPerFile && removed >= 0;
    if (scratch.map.count != expect && !(fullBefore && scratch.map.count == kKeyMapSectionsPerFile)) return false;
    for (int i = 0, j = 0; i < doc.map.count; ++i) {
        if (i == removed) continue;
        if (i != edited && !SameSection(doc.map, i, scratch.map, j)) return false;
        ++j;
    }
    return true;
}

// --- Lines ---

int HeaderLine(const KeyMapDocument &doc, int section) {
    for (int i = 0; i < doc.lineCount; ++i)
        if (doc.lines[i].role == kLineHeader && doc.lines[i].section == section) return i;
    return -1;
}

// The section's last line that is not blank or a comment.
int LastContentLine(const KeyMapDocument &doc, int header) {
    int last = header;
    for (int i = header + 1; i < doc.lineCount && doc.lines[i].section == doc.lines[header].section; ++i)
        if (doc.lines[i].role != kLineBlank) last = i;
    return last;
}

size_t NextLineBegin(const KeyMapDocument &doc, int i) {
    return i + 1 < doc.lineCount ? doc.lines[i + 1].begin : doc.length;
}

bool StartsNoCase(const char *text, size_t room, const char *word) {
    size_t n = strlen(word);
    if (room < n) return false;
    for (size_t i = 0; i < n; ++i)
        if ((text[i] | 0x20) != word[i]) return false;
    return true;
}

// Whether a line names KeyN (of `kind`) before its '=', read or skipped.
bool NamesKey(const KeyMapDocument &doc, const KeyMapLine &line, int key, KeyLineKind kind) {
    const char *t = doc.text;
    size_t i = line.begin, end = line.end;
    while (i < end && IsBlank(t[i])) ++i;
    if (!StartsNoCase(t + i, end - i, "key")) return false;
    i += 3;
    int n = 0, digits = 0;
    for (; i < end && t[i] >= '0' && t[i] <= '9' && digits < 3; ++i, ++digits) n = n * 10 + (t[i] - '0');
    if (digits < 1 || digits > 2 || n != key) return false;
    KeyLineKind named = kKeyPress;
    if (i < end && t[i] == '.') {
        ++i;
        if (StartsNoCase(t + i, end - i, "long")) named = kKeyLong, i += 4;
        else if (StartsNoCase(t + i, end - i, "repeat")) named = kKeyRepeat, i += 6;
        else return false;
    }
    while (i < end && IsBlank(t[i])) ++i;
    return named == kind && i < end && t[i] == '=';
}

// The value of a setting line: after its '=', before its comment, blanks left out.
void ValueSpan(const KeyMapDocument &doc, const KeyMapLine &line, size_t *begin, size_t *end) {
    const char *t = doc.text;
    size_t b = line.begin;
    while (b < line.end && t[b] != '=') ++b;
    if (b < line.end) ++b;
    while (b < line.end && IsBlank(t[b])) ++b;
    size_t e = b;
    while (e < line.end && t[e] != ';') ++e;
    while (e > b && IsBlank(t[e - 1])) --e;
    *begin = b;
    *end = e;
}

bool KeyReadsAsAsked(int section, int key, KeyLineKind kind, const char *value) {
    const UserKeySection &s = scratch.map.sections[section];
    if (kind == kKeyRepeat) return ((s.noRepeat >> key & 1u) != 0) == (*value != 0);
    UserAction want = {kActionNone, 0, 0};
    ClearKeyMap(expected);
    if (*value && ParseUserAction(value, expected, want)) return false;
    return SameAction(expected, want, scratch.map, kind == kKeyLong ? s.longKeys[key] : s.keys[key]);
}

} // namespace

void NewKeyMapDocument(KeyMapDocument &doc) {
    doc.encoding = kEncodingUtf8;
    doc.crlf = true;
    doc.cut = false;
    doc.readOnly = nullptr;
    doc.modified = false;
    (void)snprintf(doc.lineBreak, sizeof doc.lineBreak, "\r\n");
    doc.length = 0;
    doc.text[0] = 0;
    ClearKeyMap(doc.map);
    doc.lineCount = 0;
    doc.problemCount = 0;
}

bool LoadKeyMapDocument(KeyMapDocument &doc, const char *bytes, size_t length, AnsiToUtf8 ansi, Utf8ToAnsi back) {
    NewKeyMapDocument(doc);
    doc.encoding = DetectKeyMapEncoding(bytes, length);
    doc.length = DecodeKeyMapText(bytes, length, doc.text, sizeof doc.text, ansi, &doc.cut);
    bool unread = doc.encoding == kEncodingAnsi && length && !doc.length && !doc.cut;
    if (unread) doc.readOnly = kUnreadWhy;
    else if (doc.cut) doc.readOnly = kCutWhy;
    else if (doc.encoding != kEncodingAnsi || !ansi || back) {
        const char *why;
        size_t n = EncodeText(doc, encoded, sizeof encoded, back, &why);
        if (why || n != length || memcmp(encoded, bytes, n) != 0) doc.readOnly = kLossyWhy;
    }
    ChooseLineBreak(doc);
    Read(doc);
    return !unread;
}

bool LoadKeyMapDocument(KeyMapDocument &doc, const char *bytes, size_t length, AnsiToUtf8 ansi) {
    return LoadKeyMapDocument(doc, bytes, length, ansi, nullptr);
}

void MarkKeyMapDocumentReadOnly(KeyMapDocument &doc, const char *why) {
    doc.readOnly = why;
    Read(doc);
}

size_t EncodeKeyMapBytes(const KeyMapDocument &doc, char *out, size_t size, Utf8ToAnsi ansi, const char **why) {
    if (doc.readOnly) {
        *why = doc.readOnly;
        return 0;
    }
    return EncodeText(doc, out, size, ansi, why);
}

size_t EncodeKeyMapDocument(const KeyMapDocument &doc, char *out, size_t size, Utf8ToAnsi ansi) {
    const char *why;
    return EncodeKeyMapBytes(doc, out, size, ansi, &why);
}

void KeyLineValue(const KeyMapDocument &doc, int section, int key, KeyLineKind kind, char *out, size_t size) {
    if (!size) return;
    out[0] = 0;
    for (int i = 0; i < doc.lineCount; ++i) {
        const KeyMapLine &line = doc.lines[i];
        if (line.section != section || line.key != key || line.role != RoleOf(kind)) continue;
        size_t begin, end;
        ValueSpan(doc, line, &begin, &end);
        (void)snprintf(out, size, "%.*s", (int)(end - begin), doc.text + begin); // a repeat's last line wins: go on
    }
}

bool SetKeyLine(KeyMapDocument &doc, int section, int key, KeyLineKind kind, const char *value) {
    char wanted[1024];
    if (!Editable(doc, section) || key < 0 || key >= kKeyMapKeys || !TrimmedCopy(value, wanted, sizeof wanted))
        return false;
    if (kind == kKeyRepeat && *wanted && strcmp(wanted, "no") != 0) return false;
    char line[sizeof wanted + 16];
    int n = snprintf(line, sizeof line, "%sKey%d%s=%s", doc.lineBreak, key,
                     kind == kKeyLong ? ".long" : kind == kKeyRepeat ? ".repeat" : "", wanted);
    if (n < 0 || (size_t)n >= sizeof line) return false;
    size_t limit = TextLimit(doc);
    Begin(doc);
    int header = HeaderLine(doc, section), first = -1;
    bool fits = true;
    // From the last line to the first, so that the offsets before each splice still hold.
    for (int i = doc.lineCount - 1; i > header && fits; --i) {
        const KeyMapLine &l = doc.lines[i];
        if (l.section != section || l.role == kLineBlank || !NamesKey(doc, l, key, kind)) continue;
        if (first >= 0) fits = Splice(doc.lines[first].begin, NextLineBegin(doc, first), "", 0, limit);
        first = i;
    }
    if (first >= 0 && !*wanted) {
        fits = fits && Splice(doc.lines[first].begin, NextLineBegin(doc, first), "", 0, limit);
    } else if (first >= 0) {
        size_t begin, end;
        ValueSpan(doc, doc.lines[first], &begin, &end);
        fits = fits && Splice(begin, end, wanted, strlen(wanted), limit);
    } else if (*wanted) {
        size_t at = doc.lines[LastContentLine(doc, header)].end;
        fits = Splice(at, at, line, (size_t)n, limit);
    }
    if (!fits) return false;
    Read(scratch);
    if (!OthersAlike(doc, -1, false, section) ||
        !SameSection(doc.map, section, scratch.map, section, key, kind) ||
        !KeyReadsAsAsked(section, key, kind, wanted))
        return false;
    Keep(doc);
    return true;
}

int AddSection(KeyMapDocument &doc, const char *name, const char *process, const char *windowClass) {
    char n[64], p[260], c[256];
    if (doc.readOnly || doc.map.count >= kKeyMapSectionsPerFile || !TrimmedCopy(name, n, sizeof n) ||
        !TrimmedCopy(process, p, sizeof p) || !TrimmedCopy(windowClass, c, sizeof c) || !*n || (!*p && !*c) ||
        NameTaken(doc, n, -1))
        return -1;
    size_t limit = TextLimit(doc);
    const char *br = doc.lineBreak;
    char block[sizeof n + sizeof p + sizeof c + 32];
    int length = snprintf(block, sizeof block, "[%s]%s%s%s%s%s%s%s", n, br, *p ? "Process=" : "", p, *p ? br : "",
                          *c ? "Class=" : "", c, *c ? br : "");
    if (length < 0 || (size_t)length >= sizeof block) return -1;
    Begin(doc);
    if (!SeparateEnd(doc, limit) || !Append(block, (size_t)length, limit)) return -1;
    Read(scratch);
    int added = doc.map.count;
    if (!OthersAlike(doc, -1, true, -1)) return -1;
    const UserKeySection &s = scratch.map.sections[added];
    bool everywhere = strcmp(p, "*") == 0;
    if (strcmp(KeyMapText(scratch.map, s.name), n) != 0 || s.everywhere != everywhere ||
        strcmp(KeyMapText(scratch.map, s.process), everywhere ? "" : p) != 0 ||
        strcmp(KeyMapText(scratch.map, s.windowClass), c) != 0)
        return -1;
    Keep(doc);
    return added;
}

bool RenameSection(KeyMapDocument &doc, int section, const char *name) {
    char n[64];
    if (!Editable(doc, section) || !TrimmedCopy(name, n, sizeof n) || !*n || NameTaken(doc, n, section))
        return false;
    const KeyMapLine &header = doc.lines[HeaderLine(doc, section)];
    const char *t = doc.text;
    size_t open = header.begin;
    while (t[open] != '[') ++open;
    size_t close = open;
    while (close < header.end && t[close] != ';') ++close;
    while (IsBlank(t[close - 1])) --close; // now just past the ']'
    Begin(doc);
    if (!Splice(open + 1, close - 1, n, strlen(n), TextLimit(doc))) return false;
    Read(scratch);
    if (!OthersAlike(doc, -1, false, section) || !SameSection(doc.map, section, scratch.map, section, -1, kKeyPress, false) ||
        strcmp(KeyMapText(scratch.map, scratch.map.sections[section].name), n) != 0)
        return false;
    Keep(doc);
    return true;
}

bool RemoveSection(KeyMapDocument &doc, int section) {
    if (!Editable(doc, section)) return false;
    int header = HeaderLine(doc, section), last = header;
    while (last + 1 < doc.lineCount && doc.lines[last + 1].section == section) ++last;
    Begin(doc);
    if (!Splice(doc.lines[header].begin, NextLineBegin(doc, last), "", 0, TextLimit(doc))) return false;
    Read(scratch);
    if (!OthersAlike(doc, section, false, -1)) return false;
    Keep(doc);
    return true;
}

int CopySection(KeyMapDocument &doc, const KeyMapDocument &from, int section) {
    if (doc.readOnly || &doc == &from || section < 0 || section >= from.map.count ||
        doc.map.count >= kKeyMapSectionsPerFile ||
        NameTaken(doc, KeyMapText(from.map, from.map.sections[section].name), -1))
        return -1;
    size_t limit = TextLimit(doc);
    const char *br = doc.lineBreak;
    int header = HeaderLine(from, section), last = LastContentLine(from, header);
    Begin(doc);
    size_t start = scratch.length;
    bool fits = SeparateEnd(doc, limit);
    for (int i = header; i <= last && fits; ++i) {
        const KeyMapLine &l = from.lines[i];
        fits = Append(from.text + l.begin, l.end - l.begin, limit) && Append(br, strlen(br), limit);
    }
    if (!fits || DetectKeyMapEncoding(scratch.text + start, scratch.length - start) != kEncodingUtf8) return -1;
    Read(scratch);
    int added = doc.map.count;
    if (!OthersAlike(doc, -1, true, -1) || !SameSection(from.map, section, scratch.map, added)) return -1;
    Keep(doc);
    return added;
}

int SectionOfLine(const KeyMapDocument &doc, int line) {
    if (line < 1 || line > doc.lineCount) return -1;
    return doc.lines[line - 1].section;
}
