// The shutdown privilege, which shutting down and sleep both need enabled.
#pragma once

// Enables it in this process's token; false when it could not be enabled.
bool EnableShutdownPrivilege();
