// The tray program's fixed texts: the caption of its message boxes and tray
// tip. Its window's class is string IDS_TRAY_CLASS of its resources.
#pragma once

const char kTelvixCaption[] = "Corvane Remote Control";
// The on-screen display's window class.
const char kTelvixDisplayClass[] = "Corvane Remote Control Display";
// Each user's own settings, under HKEY_CURRENT_USER (the key maps' timing,
// the on-screen display).
const char kUserSettingsKey[] = "Software\\Halvex Multimedia\\Corvane Remote Control";
// Each user's own KeyMaps.ini: this folder under %APPDATA% (the editor writes it).
const char kUserKeyMapsFolder[] = "Corvane Remote Control";
// Held while a copy runs, so that a second one ends at start-up.
const char kInstanceMutexName[] = "Corvane Remote Control Instance";
