#include "uninstall/dialogs.h"
#include <stdio.h>
#include "res/purgex_resource.h"
#include "uninstall/purgex_app.h"
#include "uninstall/title_close.h"
#include "uninstall/uninstall_entries.h"

void FormatPageText(const char *tip1, const char *tip2, char *text, int size) {
    // Two full-length tips do not fit together: the text is cut, not overrun.
    (void)snprintf(text, static_cast<size_t>(size), "%s\n\n%s", tip1, tip2);
}

// ---- WizardDialog ---------------------------------------------------------------

BEGIN_MESSAGE_MAP(WizardDialog, CDialog)
    ON_BN_CLICKED(IDC_REMOVE_UTILITIES, OnUtilitiesClicked)
    ON_BN_CLICKED(IDC_REMOVE_DRIVERS, OnDriversClicked)
END_MESSAGE_MAP()

WizardDialog::WizardDialog() : CDialog(IDD_WIZARD) {}

BOOL WizardDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    const WizardConfig &config = theApp.config;
    SetWindowText(config.appTitle);
    SetDlgItemText(IDOK, config.startText);
    SetDlgItemText(IDCANCEL, config.cancelText);

    char text[256];
    FormatPageText(config.page1Tip1, config.page1Tip2, text, sizeof text);
    SetDlgItemText(IDC_PAGE_TEXT, text);
    // Each text fits: the fields are as long as the buffer.
    (void)snprintf(text, sizeof text, "%s", config.page1Option1);
    SetDlgItemText(IDC_REMOVE_UTILITIES, text);
    (void)snprintf(text, sizeof text, "%s", config.page1Option2);
    SetDlgItemText(IDC_REMOVE_DRIVERS, text);

    if (FindUninstallByDisplayName(config.utilityRegName)) CheckDlgButton(IDC_REMOVE_UTILITIES, 1);
    if (FindUninstallByKey(config.driverKeyPath)) CheckDlgButton(IDC_REMOVE_DRIVERS, 1);
    theApp.utilitiesOption = IsDlgButtonChecked(IDC_REMOVE_UTILITIES) ? 1 : 0;
    theApp.driversOption = IsDlgButtonChecked(IDC_REMOVE_DRIVERS) ? 1 : 0;
    return TRUE;
}

void WizardDialog::OnUtilitiesClicked() {
    CheckDlgButton(IDC_REMOVE_UTILITIES, theApp.utilitiesOption ? 0 : 1);
    theApp.utilitiesOption = IsDlgButtonChecked(IDC_REMOVE_UTILITIES) ? 1 : 0;
}

void WizardDialog::OnDriversClicked() {
    CheckDlgButton(IDC_REMOVE_DRIVERS, theApp.driversOption ? 0 : 1);
    theApp.driversOption = IsDlgButtonChecked(IDC_REMOVE_DRIVERS) ? 1 : 0;
}

void WizardDialog::OnOK() {
    const WizardConfig &config = theApp.config;
    // The tray program's own message boxes, or any other window, may carry
    // its title and stand above its window: all of them are asked.
    CloseWindowsTitled(config.remoteTitleName);
    ShowWindow(SW_HIDE);
    theApp.uninstallNotStarted = 0;
    if (theApp.utilitiesOption && !RunUninstallByDisplayName(config.utilityRegName)) theApp.uninstallNotStarted = 1;
    if (theApp.driversOption && !RunUninstallByKey(config.driverKeyPath)) theApp.uninstallNotStarted = 1;
    ShowWindow(SW_SHOW);
    CDialog::OnOK();
}

// ---- FinishDialog ---------------------------------------------------------------

BEGIN_MESSAGE_MAP(FinishDialog, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
END_MESSAGE_MAP()

FinishDialog::FinishDialog() : CDialog(IDD_FINISH) {
    m_hIcon = LoadIconA(AfxFindResourceHandle(MAKEINTRESOURCEA(IDI_PURGEX), (LPCSTR)RT_GROUP_ICON),
                        MAKEINTRESOURCEA(IDI_PURGEX));
}

BOOL FinishDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    CMenu *systemMenu = CMenu::FromHandle(GetSystemMenu(m_hWnd, FALSE));
    CString aboutText;
    if (systemMenu != nullptr && aboutText.LoadString(IDS_ABOUTBOX)) {
        AppendMenuA(systemMenu->m_hMenu, MF_SEPARATOR, 0, NULL);
        AppendMenuA(systemMenu->m_hMenu, MF_STRING, IDM_ABOUTBOX, aboutText);
    }
    SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, (LPARAM)m_hIcon);
    SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, (LPARAM)m_hIcon);

    const WizardConfig &config = theApp.config;
    SetWindowText(config.appTitle);
    SetDlgItemText(IDOK, config.okText);
    SetDlgItemText(IDCANCEL, config.cancelText);
    const char *finishText = (theApp.utilitiesOption || theApp.driversOption) ? config.page2Tip1 : config.page2Tip2;
    // Never "removed" for a component whose uninstaller did not run.
    if (theApp.uninstallNotStarted) finishText = config.page2Tip3;
    char text[256];
    (void)snprintf(text, sizeof text, "%s", finishText);
    SetDlgItemText(IDC_FINISH_TEXT, text);
    return TRUE;
}

void FinishDialog::OnSysCommand(UINT id, LPARAM lParam) {
    if ((id & 0xFFF0) == IDM_ABOUTBOX) {
        AboutDialog about;
        about.DoModal();
    } else {
        CDialog::OnSysCommand(id, lParam);
    }
}

void FinishDialog::OnPaint() {
    if (!IsIconic(m_hWnd)) {
        CDialog::OnPaint();
        return;
    }
    CPaintDC dc(this);
    SendMessageA(m_hWnd, WM_ICONERASEBKGND, (WPARAM)dc.m_hDC, 0);
    RECT client;
    GetClientRect(m_hWnd, &client);
    int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc.m_hDC, x, y, m_hIcon);
}

HCURSOR FinishDialog::OnQueryDragIcon() { return (HCURSOR)m_hIcon; }

// ---- AboutDialog ----------------------------------------------------------------

AboutDialog::AboutDialog() : CDialog(IDD_ABOUTBOX) {}
