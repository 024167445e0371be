#include "tray/shutdown.h"
#include <windows.h>
#include "platform/effects.h"
#include "platform/locale.h"
#include "platform/product_texts.h"
#include "platform/shutdown_privilege.h"

void ShutDownComputer() {
    if (IsWin9xPlatform()) {
        fx.ExitWindowsEx(EWX_SHUTDOWN, 0);
        return;
    }
    if (!EnableShutdownPrivilege()) return;
    if (!fx.ExitWindowsEx(EWX_POWEROFF | EWX_FORCE, 0))
        fx.MessageBoxA(NULL, "Can't run ExitWindowsEx.", kTelvixCaption, MB_OK | MB_TOPMOST);
}
