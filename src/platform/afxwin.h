#pragma once
// Application, windows, dialogs and the list control, with the platform's names. The widgets
// behind them live in platform/qt; nothing here needs a Qt header.

#include <cstdint>

#include "message_map.h"
#include "resources.h"
#include "text.h"
#include "win_types.h"

using INT_PTR = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using DWORD_PTR = std::uintptr_t;
using HWND = struct WindowHandle*;
using HDC = struct PaintContext*;

struct NMHDR {
    HWND hwndFrom;
    UINT_PTR idFrom;
    UINT code;
};

struct NMLISTVIEW {
    NMHDR hdr;
    int iItem;
    int iSubItem;
    UINT uNewState;
    UINT uOldState;
    UINT uChanged;
    LPARAM lParam;
};

struct RECT {
    LONG left, top, right, bottom;
};

class CRect : public RECT {
public:
    CRect() : RECT{0, 0, 0, 0} {}
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

class CWnd;
class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate)
        : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}
    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
};

class CMenu {
public:
    BOOL AppendMenu(UINT flags, UINT_PTR id = 0, LPCSTR text = nullptr);
    int GetMenuItemCount() const;
    struct MenuImpl* m_impl = nullptr;
};

inline constexpr UINT MF_STRING = 0x0000;
inline constexpr UINT MF_SEPARATOR = 0x0800;

class CWnd {
public:
    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    virtual ~CWnd();

    HWND GetSafeHwnd() const { return m_hWnd; }
    // The control with the given id; a wrapper that lives as long as the control.
    CWnd* GetDlgItem(int id) const;
    int GetDlgCtrlID() const;
    void GetWindowText(CString& text) const;
    void SetWindowText(LPCSTR text);
    CWnd* SetFocus();
    BOOL IsIconic() const;
    BOOL IsWindowVisible() const;
    void GetClientRect(RECT* rect) const;
    HICON SetIcon(HICON icon, BOOL bigIcon);
    CMenu* GetSystemMenu(BOOL revert);
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    int MessageBox(LPCSTR text, LPCSTR caption = nullptr, UINT type = MB_OK);
    virtual BOOL DestroyWindow();

    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    void BeginWaitCursor();
    void EndWaitCursor();

    // Every message reaches the window here: the message maps first, then the default.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd = nullptr;

protected:
    virtual void DoDataExchange(CDataExchange*) {}
    virtual const MessageMapBase* GetMessageMap() const { return nullptr; }
    // The default processing of the message being handled.
    LRESULT Default();
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    void OnPaint() {}
    void OnDestroy() {}

private:
    friend struct WindowHandle;
    struct CurrentMessage {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    CurrentMessage m_current{0, 0, 0};
    // While an exchange runs, control notifications are answered without reaching the map.
    bool m_notificationsLocked = false;
    CMenu m_systemMenu;
};

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    virtual INT_PTR DoModal();
    // Creates the dialog without a modal run (tests drive a dialog this way).
    BOOL Create(CWnd* parent = nullptr);
    void EndDialog(int result);
    BOOL DestroyWindow() override;

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    UINT TemplateId() const { return m_templateId; }
    bool InModalRun() const { return m_modalLoop != nullptr; }

protected:
    const MessageMapBase* GetMessageMap() const override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool CreateFromTemplate(CWnd* owner);
    UINT m_templateId;
    CWnd* m_pParentWnd;
    int m_nModalResult = -1;
    struct ModalLoop* m_modalLoop = nullptr;
};

using PFNLVCOMPARE = int (*)(LPARAM, LPARAM, LPARAM);

class CListCtrl : public CWnd {
public:
    int InsertColumn(int column, LPCSTR heading, int format = LVCFMT_LEFT, int width = -1);
    DWORD SetExtendedStyle(DWORD exStyle);
    DWORD GetExtendedStyle() const;
    int GetItemCount() const;
    int InsertItem(UINT mask, int item, LPCSTR text, UINT state, UINT stateMask, int image,
                   LPARAM data);
    int InsertItem(int item, LPCSTR text);
    BOOL SetItem(int item, int subItem, UINT mask, LPCSTR text, int image, UINT state,
                 UINT stateMask, LPARAM data);
    BOOL SetItemText(int item, int subItem, LPCSTR text);
    CString GetItemText(int item, int subItem) const;
    BOOL DeleteItem(int item);
    BOOL DeleteAllItems();
    int GetNextItem(int item, int flags) const;
    UINT GetSelectedCount() const;
    BOOL SetItemState(int item, UINT state, UINT mask);
    UINT GetItemState(int item, UINT mask) const;
    BOOL SetItemData(int item, DWORD_PTR data);
    DWORD_PTR GetItemData(int item) const;
    BOOL SortItems(PFNLVCOMPARE compare, DWORD_PTR data);
    BOOL EnsureVisible(int item, BOOL partialOK);
    int GetTopIndex() const;

private:
    class ListRows* Rows() const;
    void Changed() const;
};

class CWinApp {
public:
    explicit CWinApp(LPCSTR appName = nullptr);
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;
    virtual ~CWinApp();

    virtual BOOL InitInstance();
    virtual int ExitInstance();

    UINT GetProfileInt(LPCSTR section, LPCSTR entry, int defaultValue);
    CString GetProfileString(LPCSTR section, LPCSTR entry, LPCSTR defaultValue = nullptr);
    BOOL WriteProfileInt(LPCSTR section, LPCSTR entry, int value);
    BOOL WriteProfileString(LPCSTR section, LPCSTR entry, LPCSTR value);

    HICON LoadIcon(UINT id) const;
    void Enable3dControlsStatic() {}
    void OnHelp() {}

    // Malloc'd texts, as the platform keeps them: the program may free and replace them.
    const char* m_pszAppName = nullptr;
    const char* m_pszProfileName = nullptr;
    CWnd* m_pMainWnd = nullptr;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
int AfxMessageBox(LPCSTR text, UINT type = MB_OK);
int GetSystemMetrics(int index);
BOOL DrawIcon(HDC dc, int x, int y, HICON icon);

// Runs the application object: the platform's start-up, InitInstance, the application's
// message loop when InitInstance says so, and ExitInstance, whose result it returns.
int AfxWinMain(int argc, char** argv);
// The platform's start-up without running the application (for tests): the widget toolkit,
// the default application name and profile name.
void AfxWinInit(int& argc, char** argv);

class CPaintDC {
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC();
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;
    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }  // NOLINT

private:
    HDC m_hDC;
};

class CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

void DDX_Text(CDataExchange* dx, int id, CString& value);
void DDX_Check(CDataExchange* dx, int id, int& value);
void DDX_Control(CDataExchange* dx, int id, CWnd& control);
