// Asking the tray program to close through the windows that carry its title.
#pragma once

// Sends WM_CLOSE to every top-level window titled `title` (the same
// comparison FindWindowA makes), each with a time limit a hung window cannot
// stretch, then looks again until none is left or a few rounds have passed.
// A window that did not answer in time is not asked again. Returns the number
// of requests sent; an empty title asks nothing.
int CloseWindowsTitled(const char *title);
