#include "uninstall/purgex_app.h"
#include "uninstall/dialogs.h"

PurgexApp theApp;

BOOL PurgexApp::InitInstance() {
    AfxEnableControlContainer();
    Enable3dControls();
    LoadWizardConfig(&config, section);

    WizardDialog wizard;
    if (wizard.DoModal() != IDCANCEL) {
        FinishDialog finish;
        finish.DoModal();
    }
    // No message loop of our own: the program ends here.
    return FALSE;
}
