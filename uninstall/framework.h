// The small application framework the wizard is written on: the MFC members
// the wizard uses, with MFC's names and meaning, and nothing else. One
// application object, modal dialogs from resource templates, message maps.
#pragma once
#include <windows.h>
#include <map>
#include <memory>

class CWnd;

// ---- Message maps -----------------------------------------------------------

// One row: which message (and, for WM_COMMAND, which notification code and
// control id) goes to which handler. The invoker casts back to the class that
// declared the handler and calls it with the message's cracked arguments.
struct AFX_MSGMAP_ENTRY {
    UINT message;
    UINT code;
    UINT id;
    LRESULT (*invoke)(CWnd *target, WPARAM wParam, LPARAM lParam);
};

struct AFX_MSGMAP {
    const AFX_MSGMAP *(*baseMap)();
    const AFX_MSGMAP_ENTRY *entries; // ends with a row whose invoke is null
};

template <class T, void (T::*Handler)()>
LRESULT AfxInvokeCommand(CWnd *target, WPARAM, LPARAM) {
    (static_cast<T *>(target)->*Handler)();
    return 0;
}
template <class T, void (T::*Handler)(UINT, LPARAM)>
LRESULT AfxInvokeSysCommand(CWnd *target, WPARAM wParam, LPARAM lParam) {
    (static_cast<T *>(target)->*Handler)((UINT)wParam, lParam);
    return 0;
}
template <class T, HCURSOR (T::*Handler)()>
LRESULT AfxInvokeQueryDragIcon(CWnd *target, WPARAM, LPARAM) {
    return (LRESULT)(static_cast<T *>(target)->*Handler)();
}

#define DECLARE_MESSAGE_MAP()                        \
protected:                                           \
    static const AFX_MSGMAP *GetThisMessageMap();    \
    const AFX_MSGMAP *GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                             \
    const AFX_MSGMAP *theClass::GetMessageMap() const { return GetThisMessageMap(); }      \
    const AFX_MSGMAP *theClass::GetThisMessageMap() {                                      \
        typedef theClass ThisClass;                                                        \
        typedef baseClass TheBaseClass;                                                    \
        static const AFX_MSGMAP_ENTRY entries[] = {

#define END_MESSAGE_MAP()                                          \
            {0, 0, 0, nullptr}};                                   \
        static const AFX_MSGMAP map = {&TheBaseClass::GetThisMessageMap, entries}; \
        return &map;                                               \
    }

#define ON_COMMAND(id, memberFxn) \
    {WM_COMMAND, 0, (UINT)(id), &AfxInvokeCommand<ThisClass, &ThisClass::memberFxn>},
#define ON_BN_CLICKED(id, memberFxn) \
    {WM_COMMAND, BN_CLICKED, (UINT)(id), &AfxInvokeCommand<ThisClass, &ThisClass::memberFxn>},
#define ON_WM_SYSCOMMAND() \
    {WM_SYSCOMMAND, 0, 0, &AfxInvokeSysCommand<ThisClass, &ThisClass::OnSysCommand>},
#define ON_WM_PAINT() \
    {WM_PAINT, 0, 0, &AfxInvokeCommand<ThisClass, &ThisClass::OnPaint>},
#define ON_WM_QUERYDRAGICON() \
    {WM_QUERYDRAGICON, 0, 0, &AfxInvokeQueryDragIcon<ThisClass, &ThisClass::OnQueryDragIcon>},

// ---- Windows ------------------------------------------------------------------

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd() = default;
    CWnd(const CWnd &) = delete;
    CWnd &operator=(const CWnd &) = delete;

    HWND m_hWnd = nullptr;

    // The object attached to `window`, or a temporary one valid until the
    // outermost modal dialog ends; null for a null handle.
    static CWnd *FromHandle(HWND window);

    void SetWindowText(LPCSTR text);
    void SetDlgItemText(int id, LPCSTR text);
    void CheckDlgButton(int id, UINT check);
    UINT IsDlgButtonChecked(int id) const;
    BOOL ShowWindow(int showCommand);
    // Passes the message being handled to the window's original procedure.
    LRESULT Default();

    // Default handlers a derived class falls back to.
    void OnSysCommand(UINT id, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();

    // Message dispatch, for the framework's window procedure.
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    static const AFX_MSGMAP *GetThisMessageMap();
    virtual const AFX_MSGMAP *GetMessageMap() const;

    void Attach(HWND window);
    void Detach();

    WNDPROC m_pfnSuper = nullptr; // the window class's own procedure

private:
    const AFX_MSGMAP_ENTRY *FindHandler(UINT message, WPARAM wParam) const;
};

class CDialog : public CWnd {
public:
    // A modal dialog from template `templateId`, owned by `parent`; with no
    // parent, by the modal dialog currently running on this thread, if any.
    explicit CDialog(UINT templateId, CWnd *parent = nullptr);

    // Runs the dialog until it ends; returns what EndDialog was given, or -1
    // when the template cannot be loaded.
    INT_PTR DoModal();

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    DECLARE_MESSAGE_MAP()

private:
    UINT m_templateId;
    CWnd *m_pParentWnd;
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

// ---- Menus, painting, strings -------------------------------------------------

class CMenu {
public:
    HMENU m_hMenu = nullptr;
    // A temporary object for `menu`, valid until the outermost modal dialog
    // ends; null for a null handle.
    static CMenu *FromHandle(HMENU menu);
};

class CPaintDC {
public:
    explicit CPaintDC(CWnd *window);
    ~CPaintDC();
    CPaintDC(const CPaintDC &) = delete;
    CPaintDC &operator=(const CPaintDC &) = delete;

    HDC m_hDC;
    PAINTSTRUCT m_ps;

private:
    HWND m_hWnd;
};

class CString {
public:
    // Loads string resource `id`; TRUE when a non-empty text was loaded.
    BOOL LoadString(UINT id);
    operator LPCSTR() const { return m_text; }

private:
    char m_text[256] = "";
};

// ---- Application --------------------------------------------------------------

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp &) = delete;
    CWinApp &operator=(const CWinApp &) = delete;

    // The program's work; FALSE ends the program without a message loop.
    virtual BOOL InitInstance();
    // Our dialogs draw their controls themselves: nothing to switch on.
    BOOL Enable3dControls();

    HINSTANCE m_hInstance = nullptr;
};

CWinApp *AfxGetApp();
// Our dialogs host no embedded controls: nothing to prepare.
void AfxEnableControlContainer();
// The module that holds resource `name` of type `type`.
HINSTANCE AfxFindResourceHandle(LPCSTR name, LPCSTR type);
// The framework's entry: runs the application object's InitInstance.
int AfxWinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);
