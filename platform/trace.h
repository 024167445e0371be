// A trace a user can turn on (the Trace setting) to see why a key did nothing:
// one line per event, "time-in-ms event", appended to trace.log in the
// user's local application data. Off, Trace returns at its first test.
#pragma once
#include <windows.h>

// The log grows to this size, then it becomes the previous file and a new
// one starts; one previous file is kept.
const DWORD kTraceMaxBytes = 1024 * 1024;
const char kTraceFileName[] = "trace.log";
const char kTracePreviousFileName[] = "trace.old.log";

// True while tracing; set once at start.
extern bool traceOn;

// Turns the trace on into `folder` (made when missing); null turns it off.
void StartTrace(const char *folder);
// %LOCALAPPDATA%\Corvane Remote Control; false when the system has no such folder.
bool DefaultTraceFolder(char *folder, DWORD size);
// Appends one event (printf-style, without a line end). Never fails visibly:
// a log that cannot be written loses the line and nothing else.
void Trace(const char *format, ...) __attribute__((format(printf, 1, 2)));
