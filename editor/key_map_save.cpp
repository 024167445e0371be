#include "editor/key_map_save.h"
#include <windows.h>
#include <stdio.h>
#include <string.h>
#include "platform/product_texts.h"

namespace {

const char kFileName[] = "KeyMaps.ini";
const wchar_t kTempSuffix[] = L".saving";
const int kLongestText = 0x40000000; // what the conversions' int lengths take with room to spare

// A file's bytes as read, or as they are to be saved.
char fileBytes[kKeyMapSavedBytes + 1];

// ReplaceFile's failures that leave the old file under its name, or none at
// all, so that a move can still put the new one in its place.
const DWORD kMoveInstead[] = {ERROR_UNABLE_TO_MOVE_REPLACEMENT, ERROR_UNABLE_TO_MOVE_REPLACEMENT_2,
                              ERROR_UNABLE_TO_REMOVE_REPLACED, ERROR_FILE_NOT_FOUND, ERROR_INVALID_PARAMETER,
                              ERROR_NOT_SUPPORTED, ERROR_CALL_NOT_IMPLEMENTED};

// Appends UTF-8 `text` to the path in `out`; false (and `out` as it was) when it does not fit.
bool AppendPath(wchar_t *out, size_t size, const char *text) {
    size_t used = wcslen(out);
    if (used + 1 >= size || size - used > (size_t)kLongestText) return false;
    if (MultiByteToWideChar(CP_UTF8, 0, text, -1, out + used, (int)(size - used)) > 0) return true;
    out[used] = 0;
    return false;
}

// The folder and those above it that are missing.
bool MakeFolder(wchar_t *folder) {
    DWORD attributes = GetFileAttributesW(folder);
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) return true;
        SetLastError(ERROR_DIRECTORY);
        return false;
    }
    wchar_t *slash = wcsrchr(folder, L'\\');
    if (slash && slash > folder && slash[-1] != L':' && slash[-1] != L'\\') {
        *slash = 0;
        bool made = MakeFolder(folder);
        *slash = L'\\';
        if (!made) return false;
    }
    return CreateDirectoryW(folder, NULL) || GetLastError() == ERROR_ALREADY_EXISTS;
}

bool PutInPlace(const wchar_t *temp, const wchar_t *path, DWORD *error) {
    DWORD attributes = GetFileAttributesW(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        if (ReplaceFileW(path, temp, NULL, REPLACEFILE_IGNORE_MERGE_ERRORS, NULL, NULL)) return true;
        *error = GetLastError();
        bool movable = false;
        for (DWORD code : kMoveInstead) movable = movable || *error == code;
        if (!movable) return false;
    }
    if (MoveFileExW(temp, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    *error = GetLastError();
    return false;
}

bool Fail(char *why, size_t size, const char *what, DWORD error) {
    if (error) (void)snprintf(why, size, "%s (error %lu)", what, (unsigned long)error);
    else (void)snprintf(why, size, "%s", what);
    return false;
}

WCHAR *Widened(UINT codePage, DWORD flags, const char *text, size_t length, int *chars) {
    *chars = length && length < (size_t)kLongestText
                 ? MultiByteToWideChar(codePage, flags, text, (int)length, NULL, 0)
                 : 0;
    WCHAR *wide = *chars > 0 ? (WCHAR *)HeapAlloc(GetProcessHeap(), 0, (SIZE_T)*chars * sizeof(WCHAR)) : NULL;
    if (wide) MultiByteToWideChar(codePage, flags, text, (int)length, wide, *chars);
    return wide;
}

} // namespace

bool UserKeyMapPath(wchar_t *out, size_t size) {
    if (!size || size > (size_t)kLongestText) return false;
    DWORD n = GetEnvironmentVariableW(L"APPDATA", out, (DWORD)size);
    bool named = n && n < size && AppendPath(out, size, "\\") && AppendPath(out, size, kUserKeyMapsFolder) &&
                 AppendPath(out, size, "\\") && AppendPath(out, size, kFileName);
    if (!named) out[0] = 0;
    return named;
}

bool MachineKeyMapPath(wchar_t *out, size_t size) {
    if (!size || size > (size_t)kLongestText) return false;
    DWORD n = GetModuleFileNameW(NULL, out, (DWORD)size);
    wchar_t *slash = n && n < size ? wcsrchr(out, L'\\') : NULL;
    if (slash) slash[1] = 0;
    bool named = slash && AppendPath(out, size, kFileName);
    if (!named) out[0] = 0;
    return named;
}

KeyMapFileRead ReadKeyMapFile(const wchar_t *path, KeyMapDocument &doc, unsigned long *error) {
    *error = 0;
    NewKeyMapDocument(doc);
    // Shared as Telvix shares it, so that either may read while the other saves.
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    DWORD length = 0, code = GetLastError();
    if (file == INVALID_HANDLE_VALUE && (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND))
        return kKeyMapFileMissing;
    BOOL read = file != INVALID_HANDLE_VALUE && ReadFile(file, fileBytes, sizeof fileBytes, &length, NULL);
    if (!read) code = GetLastError();
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    if (read && LoadKeyMapDocument(doc, fileBytes, length, AnsiToUtf8Acp, Utf8ToAcp)) return kKeyMapFileRead;
    *error = read ? ERROR_NO_UNICODE_TRANSLATION : code;
    MarkKeyMapDocumentReadOnly(doc, "could not be read, so it is never saved");
    return kKeyMapFileUnreadable;
}

bool SaveKeyMapFile(const wchar_t *path, KeyMapDocument &doc, char *why, size_t whySize) {
    const char *problem;
    size_t length = EncodeKeyMapBytes(doc, fileBytes, sizeof fileBytes, Utf8ToAcp, &problem);
    if (problem) return Fail(why, whySize, problem, 0);
    wchar_t temp[MAX_PATH + 16], folder[MAX_PATH];
    size_t pathLength = wcslen(path);
    if (pathLength >= MAX_PATH) return Fail(why, whySize, "the file's path is too long", 0);
    memcpy(folder, path, (pathLength + 1) * sizeof(wchar_t));
    memcpy(temp, path, pathLength * sizeof(wchar_t));
    memcpy(temp + pathLength, kTempSuffix, sizeof kTempSuffix);
    wchar_t *slash = wcsrchr(folder, L'\\');
    if (slash) *slash = 0;
    if (slash && slash > folder && !MakeFolder(folder))
        return Fail(why, whySize, "its folder could not be made", GetLastError());

    HANDLE file = CreateFileW(temp, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, NULL);
    if (file == INVALID_HANDLE_VALUE) return Fail(why, whySize, "the new file could not be made", GetLastError());
    DWORD written = 0;
    BOOL wrote = WriteFile(file, fileBytes, (DWORD)length, &written, NULL) && written == length &&
                 FlushFileBuffers(file);
    DWORD error = GetLastError();
    CloseHandle(file);
    if (wrote && PutInPlace(temp, path, &error)) {
        doc.modified = false;
        return true;
    }
    DeleteFileW(temp);
    return Fail(why, whySize, wrote ? "the file could not be replaced" : "the new file could not be written", error);
}

size_t AnsiToUtf8Acp(const char *bytes, size_t length, char *out, size_t size) {
    int chars;
    WCHAR *wide = Widened(CP_ACP, 0, bytes, length, &chars);
    if (!wide) return 0;
    int need = WideCharToMultiByte(CP_UTF8, 0, wide, chars, NULL, 0, NULL, NULL);
    char *all = need > 0 ? (char *)HeapAlloc(GetProcessHeap(), 0, (SIZE_T)need) : NULL;
    size_t used = 0;
    if (all && WideCharToMultiByte(CP_UTF8, 0, wide, chars, all, need, NULL, NULL) == need) {
        used = (size_t)need < size ? (size_t)need : size;
        // Whole characters only: one cut at `size` is left out.
        if (used < (size_t)need)
            while (used && ((unsigned char)all[used] & 0xC0) == 0x80) --used;
        memcpy(out, all, used);
    }
    if (all) HeapFree(GetProcessHeap(), 0, all);
    HeapFree(GetProcessHeap(), 0, wide);
    return used;
}

size_t Utf8ToAcp(const char *utf8, size_t length, char *out, size_t size) {
    int chars;
    WCHAR *wide = Widened(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, length, &chars);
    if (!wide) return 0;
    // A UTF-8 code page (Windows 10's beta option) takes neither the flag nor the question.
    bool utf8Page = GetACP() == CP_UTF8;
    BOOL lookAlike = FALSE;
    int n = size < (size_t)kLongestText
                ? WideCharToMultiByte(CP_ACP, utf8Page ? 0 : WC_NO_BEST_FIT_CHARS, wide, chars, out, (int)size,
                                      NULL, utf8Page ? NULL : &lookAlike)
                : 0;
    HeapFree(GetProcessHeap(), 0, wide);
    return n > 0 && !lookAlike ? (size_t)n : 0;
}
