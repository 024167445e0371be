// The tray program's fixed texts: the caption of its message boxes and tray
// tip, and the class its window is found by (Purgex and a second instance).
#pragma once

const char kTelvixCaption[] = "Corvane Remote Control";
const char kTelvixWindowClass[] = "Corvane Remote Control";
// The on-screen display's window class.
const char kTelvixDisplayClass[] = "Corvane Remote Control Display";
