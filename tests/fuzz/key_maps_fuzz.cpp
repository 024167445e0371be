// KeyMaps.ini from arbitrary bytes: read in whatever encoding they look like,
// held by the editor's document, edited once and saved. Input: one byte for
// the edit, one for its section, one for its key, one for the length of its
// text ("name|process|class" for a new section), that text, then the file.
#include <stdint.h>
#include <string.h>
#include <string>
#include "editor/key_map_document.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

KeyMapDocument doc, again, other;
char text[kKeyMapFileBytes], bytes[kKeyMapSavedBytes];
UserKeyMap map;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 4) return 0;
    unsigned op = data[0], section = data[1], key = data[2] % 40;
    size_t valueLength = data[3] < size - 4 ? data[3] : size - 4;
    std::string value((const char *)data + 4, valueLength);
    value = value.c_str(); // up to a NUL, as a C string is
    const char *file = (const char *)data + 4 + valueLength;
    size_t fileLength = size - 4 - valueLength;

    // The parser on whatever the bytes decode to.
    bool cut;
    size_t used = DecodeKeyMapText(file, fileLength, text, sizeof text, nullptr, &cut);
    FUZZ_CHECK(used <= sizeof text);
    FUZZ_CHECK(ParseKeyMap(text, used, map, nullptr, nullptr) <= kKeyMapSectionsPerFile);

    // Loaded and saved untouched: the very same bytes, unless it is cut or
    // holds bytes its encoding cannot give back (only UTF-16 can, read as Latin-1).
    LoadKeyMapDocument(doc, file, fileLength, nullptr);
    FUZZ_CHECK(doc.cut == cut && doc.length == used && memcmp(doc.text, text, used) == 0);
    const char *why;
    size_t n = EncodeKeyMapBytes(doc, bytes, sizeof bytes, nullptr, &why);
    if (!doc.readOnly) FUZZ_CHECK(!why && n == fileLength && memcmp(bytes, file, n) == 0);
    else FUZZ_CHECK(n == 0 && (doc.cut || doc.encoding == kEncodingUtf16Le || doc.encoding == kEncodingUtf16Be));

    // One edit: refused, it changes nothing; made, it reads back after saving.
    std::string before(doc.text, doc.length);
    int sections = doc.map.count;
    KeyLineKind kind = (KeyLineKind)(op / 8 % 3);
    int s = section % 8 == 7 ? doc.map.count : (int)section % 8 - 1; // -1 and one past the end too
    std::string expect;
    bool made = false;
    switch (op % 8) {
    case 0:
    case 1:
    case 2: {
        made = SetKeyLine(doc, s, (int)key, kind, value.c_str());
        size_t b = value.find_first_not_of(" \t");
        expect = b == std::string::npos ? "" : value.substr(b, value.find_last_not_of(" \t") - b + 1);
        break;
    }
    case 3: {
        std::string parts[3];
        for (size_t i = 0, p = 0; i < value.size(); ++i)
            if (value[i] == '|' && p < 2) ++p;
            else parts[p] += value[i];
        made = AddSection(doc, parts[0].c_str(), parts[1].c_str(), parts[2].c_str()) >= 0;
        break;
    }
    case 4: made = RenameSection(doc, s, value.c_str()); break;
    case 5: made = RemoveSection(doc, s); break;
    default: {
        NewKeyMapDocument(other);
        if (op & 1) SetKeyLine(other, AddSection(other, "Mine", "*", ""), 1, kKeyPress, "post:A");
        made = CopySection(other, doc, s) >= 0;
        break;
    }
    }
    if (!made) {
        FUZZ_CHECK(std::string(doc.text, doc.length) == before && doc.map.count == sections && !doc.modified);
        return 0;
    }
    const KeyMapDocument &edited = op % 8 >= 6 ? other : doc;
    n = EncodeKeyMapBytes(edited, bytes, sizeof bytes, nullptr, &why);
    if (!n && why) {
        // Only a text Latin-1 cannot write, or UTF-8 that is not whole, fails to save.
        FUZZ_CHECK(edited.encoding == kEncodingAnsi ||
                   DetectKeyMapEncoding(edited.text, edited.length) != kEncodingUtf8);
        return 0;
    }
    FUZZ_CHECK(LoadKeyMapDocument(again, bytes, n, nullptr));
    FUZZ_CHECK(!again.readOnly && again.length == edited.length && memcmp(again.text, edited.text, again.length) == 0);
    if (op % 8 <= 2) {
        char read[1100];
        KeyLineValue(again, s, (int)key, kind, read, sizeof read);
        FUZZ_CHECK(expect == read);
    }
    return 0;
}
