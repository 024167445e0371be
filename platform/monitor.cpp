#include "platform/monitor.h"
#include "platform/effects.h"

MonitorArea ForegroundMonitor() {
    MonitorArea area = {};
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    HMONITOR monitor = fx.MonitorFromWindow(fx.GetForegroundWindow(), MONITOR_DEFAULTTOPRIMARY);
    if (monitor && fx.GetMonitorInfoA(monitor, &info)) {
        area.monitor = info.rcMonitor;
        area.work = info.rcWork;
        area.primary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
        return area;
    }
    area.monitor = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &area.work, 0)) area.work = area.monitor;
    area.primary = true;
    return area;
}
