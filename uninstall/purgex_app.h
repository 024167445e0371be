// The wizard's application object: its texts and the two options, read by
// the dialogs.
#pragma once
#include "uninstall/framework.h"
#include "uninstall/wizard_config.h"

class PurgexApp : public CWinApp {
public:
    BOOL InitInstance() override;

    WizardConfig config = {};
    char section[32] = "";
    int utilitiesOption = 0; // check box 1005: run the utilities' uninstaller
    int driversOption = 0;   // check box 1006: run the drivers' uninstaller
    int uninstallNotStarted = 0; // a chosen uninstaller could not be started
};

extern PurgexApp theApp;
