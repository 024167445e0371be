#include "uninstall/framework.h"

namespace {

CWinApp *theApplication = nullptr;

// Windows of ours, attached while their dialog runs.
std::map<HWND, CWnd *> &PermanentWindows() {
    static std::map<HWND, CWnd *> windows;
    return windows;
}

// Objects handed out for handles that nothing of ours owns. They live until
// the outermost modal dialog ends, so a handler may keep one for its duration.
std::map<HWND, std::unique_ptr<CWnd>> temporaryWindows;
std::map<HMENU, std::unique_ptr<CMenu>> temporaryMenus;

// The message being handled, for CWnd::Default.
struct CurrentMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
CurrentMessage currentMessage = {};

// The dialog a new modal dialog without parent is owned by, and the one
// whose WM_INITDIALOG is on its way.
CDialog *runningDialog = nullptr;
CDialog *startingDialog = nullptr;
int modalDepth = 0;

} // namespace

// ---- CWnd -----------------------------------------------------------------------

CWnd *CWnd::FromHandle(HWND window) {
    if (window == nullptr) return nullptr;
    auto permanent = PermanentWindows().find(window);
    if (permanent != PermanentWindows().end()) return permanent->second;
    std::unique_ptr<CWnd> &temporary = temporaryWindows[window];
    if (!temporary) {
        temporary.reset(new CWnd);
        temporary->m_hWnd = window;
    }
    return temporary.get();
}

void CWnd::SetWindowText(LPCSTR text) { ::SetWindowTextA(m_hWnd, text); }

void CWnd::SetDlgItemText(int id, LPCSTR text) { ::SetDlgItemTextA(m_hWnd, id, text); }

void CWnd::CheckDlgButton(int id, UINT check) { ::CheckDlgButton(m_hWnd, id, check); }

UINT CWnd::IsDlgButtonChecked(int id) const { return ::IsDlgButtonChecked(m_hWnd, id); }

BOOL CWnd::ShowWindow(int showCommand) { return ::ShowWindow(m_hWnd, showCommand); }

LRESULT CWnd::Default() {
    if (m_pfnSuper == nullptr)
        return DefWindowProcA(currentMessage.window, currentMessage.message, currentMessage.wParam,
                              currentMessage.lParam);
    return CallWindowProcA(m_pfnSuper, currentMessage.window, currentMessage.message, currentMessage.wParam,
                           currentMessage.lParam);
}

void CWnd::OnSysCommand(UINT, LPARAM) { Default(); }

void CWnd::OnPaint() { Default(); }

HCURSOR CWnd::OnQueryDragIcon() { return (HCURSOR)Default(); }

const AFX_MSGMAP *CWnd::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, entries};
    return &map;
}

const AFX_MSGMAP *CWnd::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP_ENTRY *CWnd::FindHandler(UINT message, WPARAM wParam) const {
    // Most derived class first, as a derived map overrides its base's rows.
    for (const AFX_MSGMAP *map = GetMessageMap(); map != nullptr; map = map->baseMap ? map->baseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY *entry = map->entries; entry->invoke != nullptr; ++entry) {
            if (entry->message != message) continue;
            if (message == WM_COMMAND && (entry->code != HIWORD(wParam) || entry->id != LOWORD(wParam)))
                continue;
            return entry;
        }
    }
    return nullptr;
}

void CWnd::Attach(HWND window) {
    m_hWnd = window;
    PermanentWindows()[window] = this;
    m_pfnSuper = (WNDPROC)SetWindowLongPtrA(window, GWLP_WNDPROC, (LONG_PTR)&CWnd::WindowProc);
}

void CWnd::Detach() {
    if (m_hWnd == nullptr) return;
    SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, (LONG_PTR)m_pfnSuper);
    PermanentWindows().erase(m_hWnd);
    m_hWnd = nullptr;
}

LRESULT CALLBACK CWnd::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd *target = CWnd::FromHandle(window);

    CurrentMessage saved = currentMessage;
    currentMessage = {window, message, wParam, lParam};
    LRESULT result;
    const AFX_MSGMAP_ENTRY *entry = target->FindHandler(message, wParam);
    if (entry != nullptr)
        result = entry->invoke(target, wParam, lParam);
    else
        result = target->Default();
    // The window is gone after its last message: hand back the class procedure.
    if (message == WM_NCDESTROY) target->Detach();
    currentMessage = saved;
    return result;
}

// ---- CDialog --------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT templateId, CWnd *parent) : m_templateId(templateId), m_pParentWnd(parent) {}

INT_PTR CDialog::DoModal() {
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : (runningDialog ? runningDialog->m_hWnd : nullptr);
    HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEA(m_templateId), (LPCSTR)RT_DIALOG);

    CDialog *outer = runningDialog;
    ++modalDepth;
    startingDialog = this;
    INT_PTR result = DialogBoxParamA(module, MAKEINTRESOURCEA(m_templateId), owner, &CDialog::DialogProc,
                                     (LPARAM)this);
    startingDialog = nullptr;
    runningDialog = outer;
    if (--modalDepth == 0) {
        temporaryWindows.clear();
        temporaryMenus.clear();
    }
    return result;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM, LPARAM lParam) {
    // Everything but the first call reaches the dialog through its message
    // map; this procedure only sees what the map left to the default handling.
    if (message != WM_INITDIALOG) return FALSE;
    CDialog *dialog = reinterpret_cast<CDialog *>(lParam);
    if (dialog == nullptr || dialog != startingDialog) return FALSE;
    startingDialog = nullptr;
    dialog->Attach(window);
    runningDialog = dialog;
    return dialog->OnInitDialog();
}

BOOL CDialog::OnInitDialog() { return TRUE; }

void CDialog::OnOK() { EndDialog(m_hWnd, IDOK); }

void CDialog::OnCancel() { EndDialog(m_hWnd, IDCANCEL); }

// ---- CMenu, CPaintDC, CString -------------------------------------------------

CMenu *CMenu::FromHandle(HMENU menu) {
    if (menu == nullptr) return nullptr;
    std::unique_ptr<CMenu> &temporary = temporaryMenus[menu];
    if (!temporary) {
        temporary.reset(new CMenu);
        temporary->m_hMenu = menu;
    }
    return temporary.get();
}

CPaintDC::CPaintDC(CWnd *window) : m_hWnd(window->m_hWnd) { m_hDC = BeginPaint(m_hWnd, &m_ps); }

CPaintDC::~CPaintDC() { EndPaint(m_hWnd, &m_ps); }

BOOL CString::LoadString(UINT id) {
    HINSTANCE module = AfxGetApp() ? AfxGetApp()->m_hInstance : nullptr;
    if (module == nullptr) module = GetModuleHandleA(nullptr);
    int length = ::LoadStringA(module, id, m_text, sizeof m_text);
    if (length <= 0) m_text[0] = '\0';
    return length > 0;
}

// ---- CWinApp --------------------------------------------------------------------

CWinApp::CWinApp() { theApplication = this; }

CWinApp::~CWinApp() {
    if (theApplication == this) theApplication = nullptr;
}

BOOL CWinApp::InitInstance() { return TRUE; }

BOOL CWinApp::Enable3dControls() { return TRUE; }

CWinApp *AfxGetApp() { return theApplication; }

void AfxEnableControlContainer() {}

HINSTANCE AfxFindResourceHandle(LPCSTR name, LPCSTR type) {
    HINSTANCE module = AfxGetApp() ? AfxGetApp()->m_hInstance : nullptr;
    if (module == nullptr) module = GetModuleHandleA(nullptr);
    // Our resources all live in the program itself.
    return FindResourceA(module, name, type) ? module : nullptr;
}

int AfxWinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    CWinApp *app = AfxGetApp();
    if (app == nullptr) return -1;
    app->m_hInstance = instance;
    if (!app->InitInstance()) return 0;
    // An application that keeps running after InitInstance pumps its messages.
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return (int)message.wParam;
}
