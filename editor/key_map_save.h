// The editor's two files on disk: the user's, which it edits and saves, and
// the machine's beside the program (the editor is installed beside
// Telvix.exe), shown read-only. Paths are Unicode: a profile folder may have
// any name.
#pragma once
#include <stddef.h>
#include "editor/key_map_document.h"

// %APPDATA%\Corvane Remote Control\KeyMaps.ini; false when it has no name.
bool UserKeyMapPath(wchar_t *out, size_t size);
// KeyMaps.ini in this program's folder.
bool MachineKeyMapPath(wchar_t *out, size_t size);

enum KeyMapFileRead { kKeyMapFileRead, kKeyMapFileMissing, kKeyMapFileUnreadable };
// Reads `path` into `doc`. A missing file (or folder) gives a new document; one
// that cannot be opened or read an empty read-only one, so that saving never
// overwrites what was not read; `*error` then says why (GetLastError).
KeyMapFileRead ReadKeyMapFile(const wchar_t *path, KeyMapDocument &doc, unsigned long *error);

// Saves so that a reader never sees half a file: the bytes go to a temporary
// file beside `path`, written through to the disk, which then takes its place
// in one step. The folder is made when missing. False with why in `why`
// (nothing changed then, and no temporary file is left).
bool SaveKeyMapFile(const wchar_t *path, KeyMapDocument &doc, char *why, size_t whySize);

// The system's ANSI code page both ways, as the document's conversions take
// them: whole characters only, and no character written as a look-alike or '?'.
size_t AnsiToUtf8Acp(const char *bytes, size_t length, char *out, size_t size);
size_t Utf8ToAcp(const char *utf8, size_t length, char *out, size_t size);
