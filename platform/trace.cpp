#include "platform/trace.h"
#include <shlobj.h>
#include <stdarg.h>
#include <stdio.h>
#include "platform/product_texts.h"

bool traceOn = false;

namespace {

char traceFolder[MAX_PATH] = "";

bool JoinPath(char *path, size_t size, const char *name) {
    int length = snprintf(path, size, "%s\\%s", traceFolder, name);
    return length > 0 && (size_t)length < size;
}

// The log open for appending, the folder made when missing; the log moved
// aside first once the line would take it past its limit.
HANDLE OpenLog(const char *path, DWORD lineBytes) {
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_PATH_NOT_FOUND) {
        CreateDirectoryA(traceFolder, NULL);
        file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    }
    if (file == INVALID_HANDLE_VALUE) return file;
    DWORD size = GetFileSize(file, NULL);
    if (size == INVALID_FILE_SIZE || size + lineBytes <= kTraceMaxBytes) return file;
    CloseHandle(file);
    char previous[MAX_PATH];
    if (JoinPath(previous, sizeof previous, kTracePreviousFileName))
        MoveFileExA(path, previous, MOVEFILE_REPLACE_EXISTING);
    // Whether or not the move worked, start afresh so the log stays bounded.
    return CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
}

} // namespace

void StartTrace(const char *folder) {
    traceOn = folder != nullptr && folder[0] != '\0';
    lstrcpynA(traceFolder, traceOn ? folder : "", sizeof traceFolder);
}

bool DefaultTraceFolder(char *folder, DWORD size) {
    char base[MAX_PATH];
    if (SHGetFolderPathA(NULL, CSIDL_LOCAL_APPDATA, NULL, SHGFP_TYPE_CURRENT, base) != S_OK) return false;
    int length = snprintf(folder, size, "%s\\%s", base, kTelvixCaption);
    return length > 0 && (DWORD)length < size;
}

// printf-style on purpose: one call in every layer, and nothing is formatted
// while the trace is off.
void Trace(const char *format, ...) { // NOLINT(cert-dcl50-cpp)
    if (!traceOn) return;
    char line[512];
    int length = snprintf(line, sizeof line, "%lu ", (unsigned long)GetTickCount());
    if (length < 0) return;
    va_list args;
    va_start(args, format);
    int event = vsnprintf(line + length, sizeof line - (size_t)length, format, args);
    va_end(args);
    if (event < 0) return;
    // A long event is cut short; the line end always fits.
    size_t used = (size_t)length + (size_t)event;
    if (used > sizeof line - 3) used = sizeof line - 3;
    line[used++] = '\r';
    line[used++] = '\n';
    line[used] = '\0';

    char path[MAX_PATH];
    if (!JoinPath(path, sizeof path, kTraceFileName)) return;
    HANDLE file = OpenLog(path, (DWORD)used);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, line, (DWORD)used, &written, NULL);
    CloseHandle(file);
}
