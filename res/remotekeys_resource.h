// Identifiers of the key-map editor's resources and controls.
#pragma once

#define IDR_ACCELERATORS 1

// The main window's controls.
#define IDC_PROGRAMS_LABEL 100
#define IDC_PROGRAMS 101
#define IDC_ADD 102
#define IDC_RENAME 103
#define IDC_REMOVE 104
#define IDC_COPY 105
#define IDC_KEYS_LABEL 106
#define IDC_KEYS 107
#define IDC_CHANGE 108
#define IDC_CLEAR 109
#define IDC_LAST_KEY 110
#define IDC_PROBLEMS_LABEL 111
#define IDC_PROBLEMS 112
#define IDC_SETTINGS 113
#define IDC_SAVE 114

// The action dialog.
#define IDD_ACTION 200
#define IDC_WHEN_PRESSED 201
#define IDC_WHEN_HELD 202
#define IDC_KIND 203
#define IDC_KEY_LABEL 204
#define IDC_HOTKEY 205
#define IDC_WIN 206
#define IDC_CHOICE_LABEL 207
#define IDC_CHOICE 208
#define IDC_STEP_LABEL 209
#define IDC_STEP 210
#define IDC_PROGRAM_LABEL 211
#define IDC_PROGRAM 212
#define IDC_BROWSE 213
#define IDC_ARGUMENTS_LABEL 214
#define IDC_ARGUMENTS 215
#define IDC_REPEAT 216
#define IDC_HINT 217
#define IDC_KEY_NAME 218

// The dialog that adds a program.
#define IDD_ADD_PROGRAM 300
#define IDC_WINDOWS 301
#define IDC_FINDER 302
#define IDC_NAME 303
#define IDC_PROCESS 304
#define IDC_CLASS 305
#define IDC_USE_CLASS 306

// The settings dialog.
#define IDD_SETTINGS 400
#define IDC_DISPLAY 401
#define IDC_REPEAT_DELAY 402
#define IDC_REPEAT_DELAY_SPIN 403
#define IDC_LONG_PRESS 404
#define IDC_LONG_PRESS_SPIN 405
