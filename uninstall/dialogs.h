// The wizard's three dialogs.
#pragma once
#include "uninstall/framework.h"

// Resource 130: the page with the two options and Start.
class WizardDialog : public CDialog {
public:
    WizardDialog();
    BOOL OnInitDialog() override;
    // Start.
    void OnOK() override;

protected:
    void OnUtilitiesClicked();
    void OnDriversClicked();
    DECLARE_MESSAGE_MAP()
};

// Resource 102: the last page, with its About item in the system menu.
class FinishDialog : public CDialog {
public:
    FinishDialog();
    BOOL OnInitDialog() override;

protected:
    void OnSysCommand(UINT id, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    DECLARE_MESSAGE_MAP()

private:
    HICON m_hIcon;
};

// Resource 100.
class AboutDialog : public CDialog {
public:
    AboutDialog();
};

// "<tip 1>\n\n<tip 2>" for the page's text, cut to `size` bytes.
void FormatPageText(const char *tip1, const char *tip2, char *text, int size);
