// The file's encodings and the comparison of names.
#include <string.h>
#include "keymaps/key_map_internal.h"

using namespace keymaps_internal;

namespace {

const uint32_t kReplacement = 0xFFFD;

// The code point at `*p` (advanced past it); an invalid byte stands for itself
// in 0xDC80..0xDCFF, as no valid text has those.
uint32_t NextCodePoint(const unsigned char *&p, const unsigned char *end) {
    unsigned char c = *p++;
    if (c < 0x80) return c;
    int more = c >= 0xF0 && c <= 0xF4 ? 3 : c >= 0xE0 ? (c <= 0xEF ? 2 : -1) : c >= 0xC2 ? 1 : -1;
    if (more < 0 || end - p < more) return 0xDC00u | c;
    uint32_t cp = c & (0x3Fu >> more);
    for (int i = 0; i < more; ++i) {
        if ((p[i] & 0xC0) != 0x80) return 0xDC00u | c;
        cp = (cp << 6) | (p[i] & 0x3Fu);
    }
    static const uint32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kLeast[more] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0xDC00u | c;
    p += more;
    return cp;
}

// Upper case by code point, one to one, as an ordinal comparison ignoring
// case does: ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic.
uint32_t Upper(uint32_t c) {
    if (c >= 'a' && c <= 'z') return c - 32;
    if (c < 0xE0) return c;
    if (c <= 0xFE) return c == 0xF7 ? c : c - 32;
    if (c == 0xFF) return 0x178;
    if (c <= 0x17F) {
        // Pairs upper-lower, odd the lower one, but for the runs where it is the even one.
        bool evenLower = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        if (c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) return c;
        return (c % 2 == (evenLower ? 0u : 1u)) ? c - 1 : c;
    }
    if (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) return c - 32;
    if (c == 0x3C2) return 0x3A3; // final sigma
    if (c >= 0x430 && c <= 0x44F) return c - 32;
    if (c >= 0x450 && c <= 0x45F) return c - 80;
    if (c >= 0x460 && c <= 0x4FF && c % 2 == 1 && !(c >= 0x482 && c <= 0x489)) return c - 1;
    return c;
}

size_t PutUtf8(uint32_t cp, char *out, size_t room) {
    unsigned char b[4];
    size_t n;
    if (cp < 0x80) b[0] = (unsigned char)cp, n = 1;
    else if (cp < 0x800) b[0] = (unsigned char)(0xC0 | (cp >> 6)), b[1] = (unsigned char)(0x80 | (cp & 0x3F)), n = 2;
    else if (cp < 0x10000) {
        b[0] = (unsigned char)(0xE0 | (cp >> 12));
        b[1] = (unsigned char)(0x80 | ((cp >> 6) & 0x3F));
        b[2] = (unsigned char)(0x80 | (cp & 0x3F));
        n = 3;
    } else {
        b[0] = (unsigned char)(0xF0 | (cp >> 18));
        b[1] = (unsigned char)(0x80 | ((cp >> 12) & 0x3F));
        b[2] = (unsigned char)(0x80 | ((cp >> 6) & 0x3F));
        b[3] = (unsigned char)(0x80 | (cp & 0x3F));
        n = 4;
    }
    if (n > room) return 0;
    memcpy(out, b, n);
    return n;
}

bool IsValidUtf8(const char *bytes, size_t length) {
    const unsigned char *p = (const unsigned char *)bytes, *end = p + length;
    while (p < end) {
        const unsigned char *at = p;
        uint32_t cp = NextCodePoint(p, end);
        // A sequence cut where a reader stopped, past the most that is read, counts as whole.
        if (cp >= 0xDC80 && cp <= 0xDCFF && length >= kKeyMapFileBytes && *at >= 0xC2 && *at <= 0xF4 && end - at < 4) {
            bool rest = true;
            for (const unsigned char *q = at + 1; q < end; ++q) rest = rest && (*q & 0xC0) == 0x80;
            if (rest && (size_t)(end - at) < (size_t)(*at >= 0xF0 ? 4 : *at >= 0xE0 ? 3 : 2)) return true;
        }
        if (cp >= 0xDC80 && cp <= 0xDCFF) return false;
    }
    return true;
}

size_t Utf16ToUtf8(const unsigned char *p, size_t length, bool bigEndian, char *out, size_t size, bool *full) {
    size_t used = 0;
    for (size_t i = 0; i + 1 < length; i += 2) {
        uint32_t unit = bigEndian ? (uint32_t)(p[i] << 8 | p[i + 1]) : (uint32_t)(p[i + 1] << 8 | p[i]);
        uint32_t cp = unit;
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < length) {
            uint32_t low = bigEndian ? (uint32_t)(p[i + 2] << 8 | p[i + 3]) : (uint32_t)(p[i + 3] << 8 | p[i + 2]);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                cp = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        if (cp >= 0xD800 && cp <= 0xDFFF) cp = kReplacement;
        size_t n = PutUtf8(cp, out + used, size - used);
        if (!n) {
            *full = true;
            break;
        }
        used += n;
    }
    return used;
}

size_t Latin1ToUtf8(const char *bytes, size_t length, char *out, size_t size, bool *full) {
    size_t used = 0;
    for (size_t i = 0; i < length; ++i) {
        size_t n = PutUtf8((unsigned char)bytes[i], out + used, size - used);
        if (!n) {
            *full = true;
            break;
        }
        used += n;
    }
    return used;
}

} // namespace

KeyMapEncoding DetectKeyMapEncoding(const char *bytes, size_t length) {
    const unsigned char *b = (const unsigned char *)bytes;
    if (length >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) return kEncodingUtf8Bom;
    if (length >= 2 && b[0] == 0xFF && b[1] == 0xFE) return kEncodingUtf16Le;
    if (length >= 2 && b[0] == 0xFE && b[1] == 0xFF) return kEncodingUtf16Be;
    return IsValidUtf8(bytes, length) ? kEncodingUtf8 : kEncodingAnsi;
}

size_t DecodeKeyMapText(const char *bytes, size_t length, char *out, size_t size, AnsiToUtf8 ansi, bool *cut) {
    *cut = false;
    if (!size) return 0;
    size_t used = 0;
    bool full = false;
    switch (DetectKeyMapEncoding(bytes, length)) {
    case kEncodingUtf8Bom: bytes += 3, length -= 3; // fall through
    case kEncodingUtf8:
        used = length < size ? length : size;
        memcpy(out, bytes, used);
        full = length > size;
        break;
    case kEncodingUtf16Le:
    case kEncodingUtf16Be: {
        bool big = (unsigned char)bytes[0] == 0xFE;
        used = Utf16ToUtf8((const unsigned char *)bytes + 2, length - 2, big, out, size, &full);
        break;
    }
    case kEncodingAnsi:
        if (!ansi) {
            used = Latin1ToUtf8(bytes, length, out, size, &full);
            break;
        }
        used = ansi(bytes, length, out, size);
        if (used > size) used = size;
        full = size - used < 3; // no room for one more character: it may not have fitted
        break;
    }
    if (full) {
        *cut = true;
        while (used && out[used - 1] != '\n' && out[used - 1] != '\r') --used;
    }
    return used;
}

bool EncodeKeyMapText(const char *text, size_t length, KeyMapEncoding encoding, char *out, size_t size,
                      size_t *written) {
    static const char *const kMarks[] = {"", "", "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"};
    size_t used = strlen(kMarks[encoding]);
    *written = 0;
    if (used > size) return false;
    memcpy(out, kMarks[encoding], used);
    if (encoding == kEncodingUtf8 || encoding == kEncodingUtf8Bom) {
        if (length > size - used) return false;
        memcpy(out + used, text, length);
        *written = used + length;
        return true;
    }
    const unsigned char *p = (const unsigned char *)text, *end = p + length;
    while (p < end) {
        uint32_t cp = NextCodePoint(p, end);
        if (cp >= 0xDC80 && cp <= 0xDCFF) return false; // not UTF-8
        if (encoding == kEncodingAnsi) {
            if (cp > 0xFF || used == size) return false;
            out[used++] = (char)cp;
            continue;
        }
        uint32_t units[2] = {cp, 0};
        size_t count = 1;
        if (cp >= 0x10000) units[0] = 0xD800 + ((cp - 0x10000) >> 10), units[1] = 0xDC00 + (cp & 0x3FF), count = 2;
        if (size - used < 2 * count) return false;
        for (size_t i = 0; i < count; ++i, used += 2) {
            unsigned char high = (unsigned char)(units[i] >> 8), low = (unsigned char)units[i];
            out[used] = (char)(encoding == kEncodingUtf16Be ? high : low);
            out[used + 1] = (char)(encoding == kEncodingUtf16Be ? low : high);
        }
    }
    *written = used;
    return true;
}

int CompareNamesIgnoringCase(const char *a, const char *b) {
    const unsigned char *p = (const unsigned char *)a, *q = (const unsigned char *)b;
    const unsigned char *pEnd = p + strlen(a), *qEnd = q + strlen(b);
    while (p < pEnd && q < qEnd) {
        uint32_t x = Upper(NextCodePoint(p, pEnd)), y = Upper(NextCodePoint(q, qEnd));
        if (x != y) return x < y ? -1 : 1;
    }
    return p < pEnd ? 1 : q < qEnd ? -1 : 0;
}
