// Turning the computer off, on either platform family.
#pragma once

// 9x: an ordinary shutdown. NT: enables the shutdown privilege, then forces
// running programs closed and powers off; tells the user only when that
// last request is refused.
void ShutDownComputer();
