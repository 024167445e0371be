// Prints one line per row of kTvApps for the shell tools that install the
// stand-ins (tools/card-session.sh):
//   <TvAppId>|<name>|HKLM\<install key>|<value>|<executable>
#include <stdio.h>
#include "apps/tv_app_table.h"

int main() {
    for (const TvApp *app : kTvApps)
        printf("%d|%s|HKLM\\%s|%s|%s\n", app->id, app->names.title, app->identity.registryKey, app->identity.valueName,
               app->identity.exeName);
    return 0;
}
