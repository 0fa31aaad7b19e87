#include <QApplication>
#include <QCheckBox>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QWindow>

#include <algorithm>

#include "dialog_widget.h"
#include "handles.h"
#include "list_view.h"
#include "system_menu.h"

struct ModalLoop {
    QEventLoop loop;
};

UINT NotifyHeaderOf::Code(LPARAM lParam) {
    return lParam != 0 ? reinterpret_cast<const NMHDR*>(lParam)->code : 0;
}

std::uintptr_t NotifyHeaderOf::Id(LPARAM lParam) {
    return lParam != 0 ? reinterpret_cast<const NMHDR*>(lParam)->idFrom : 0;
}

QString ToQString(std::string_view bytes) {
    std::u16string wide = MultiByteToWide(bytes);
    return QString(reinterpret_cast<const QChar*>(wide.data()),
                   static_cast<qsizetype>(wide.size()));
}

CString FromQString(const QString& text) {
    return WideToMultiByte(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                               static_cast<std::size_t>(text.size())));
}

void WindowHandle::Forget() {
    for (CWnd* wnd : attached) {
        if (wnd->m_hWnd == this) {
            wnd->m_hWnd = nullptr;
        }
    }
    attached.clear();
    if (wrapper != nullptr) {
        wrapper->m_hWnd = nullptr;
    }
    if (owner != nullptr && owner->m_hWnd == this) {
        owner->m_hWnd = nullptr;
    }
    owner = nullptr;
}

void SendCommandNotification(WindowHandle* control, UINT code) {
    if (control->dialog != nullptr && control->dialog->owner != nullptr) {
        control->dialog->owner->SendMessage(WM_COMMAND,
                                            MAKEWPARAM(static_cast<UINT>(control->id), code),
                                            reinterpret_cast<LPARAM>(control));
    }
}

namespace {
DialogWidget* DialogOf(const CWnd* wnd) {
    HWND handle = wnd != nullptr ? wnd->GetSafeHwnd() : nullptr;
    return handle != nullptr ? qobject_cast<DialogWidget*>(handle->widget.data()) : nullptr;
}
}  // namespace

WindowHandle* FindControl(const CWnd* dialog, int id) {
    DialogWidget* widget = DialogOf(dialog);
    return widget != nullptr ? widget->Control(id) : nullptr;
}

CString ControlText(const WindowHandle* control) {
    QWidget* widget = control->widget;
    if (auto* edit = qobject_cast<EditControl*>(widget)) {
        return edit->Bytes();
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        return FromQString(button->text());
    }
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        return FromQString(label->text());
    }
    if (auto* dialog = qobject_cast<QDialog*>(widget)) {
        return FromQString(dialog->windowTitle());
    }
    return CString();
}

void SetControlText(WindowHandle* control, const CString& text) {
    QWidget* widget = control->widget;
    if (auto* edit = qobject_cast<EditControl*>(widget)) {
        edit->SetBytes(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(ToQString(text.View()));
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(ToQString(text.View()));
    } else if (auto* dialog = qobject_cast<QDialog*>(widget)) {
        dialog->setWindowTitle(ToQString(text.View()));
    }
}

// CWnd

CWnd::~CWnd() {
    if (m_hWnd != nullptr) {
        auto& attached = m_hWnd->attached;
        attached.erase(std::remove(attached.begin(), attached.end(), this), attached.end());
        if (m_hWnd->owner == this) {
            m_hWnd->owner = nullptr;
        }
    }
    delete m_systemMenu.m_impl;
}

CWnd* CWnd::GetDlgItem(int id) const {
    WindowHandle* control = FindControl(this, id);
    if (control == nullptr) {
        return nullptr;
    }
    if (control->wrapper == nullptr) {
        control->wrapper = control->kind == ControlTemplate::Kind::ListView
                               ? std::make_unique<CListCtrl>()
                               : std::make_unique<CWnd>();
        control->wrapper->m_hWnd = control;
    }
    return control->wrapper.get();
}

int CWnd::GetDlgCtrlID() const {
    return m_hWnd != nullptr ? m_hWnd->id : 0;
}

void CWnd::GetWindowText(CString& text) const {
    text = m_hWnd != nullptr ? ControlText(m_hWnd) : CString();
}

void CWnd::SetWindowText(LPCSTR text) {
    if (m_hWnd != nullptr) {
        SetControlText(m_hWnd, CString(text));
    }
}

CWnd* CWnd::SetFocus() {
    if (m_hWnd != nullptr && m_hWnd->widget != nullptr) {
        m_hWnd->widget->setFocus(Qt::OtherFocusReason);
    }
    return nullptr;
}

BOOL CWnd::IsIconic() const {
    return m_hWnd != nullptr && m_hWnd->widget != nullptr && m_hWnd->widget->isMinimized();
}

BOOL CWnd::IsWindowVisible() const {
    return m_hWnd != nullptr && m_hWnd->widget != nullptr && m_hWnd->widget->isVisible();
}

void CWnd::GetClientRect(RECT* rect) const {
    *rect = RECT{0, 0, 0, 0};
    if (m_hWnd != nullptr && m_hWnd->widget != nullptr) {
        rect->right = m_hWnd->widget->width();
        rect->bottom = m_hWnd->widget->height();
    }
}

HICON CWnd::SetIcon(HICON icon, BOOL bigIcon) {
    return reinterpret_cast<HICON>(
        SendMessage(WM_SETICON, bigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
}

CMenu* CWnd::GetSystemMenu(BOOL revert) {
    if (m_hWnd == nullptr || m_hWnd->widget == nullptr ||
        !(m_hWnd->widget->windowFlags() & Qt::WindowSystemMenuHint)) {
        return nullptr;
    }
    if (revert) {
        delete m_systemMenu.m_impl;
        m_systemMenu.m_impl = nullptr;
        return nullptr;
    }
    if (m_systemMenu.m_impl == nullptr) {
        m_systemMenu.m_impl = new MenuImpl;
    }
    return &m_systemMenu;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return WindowProc(message, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_notificationsLocked && ((message == WM_COMMAND && lParam != 0) || message == WM_NOTIFY)) {
        return 0;
    }
    CurrentMessage saved = m_current;
    m_current = {message, wParam, lParam};
    LRESULT result = 0;
    bool handled = false;
    for (const MessageMapBase* map = GetMessageMap(); map != nullptr && !handled;
         map = map->Base()) {
        handled = map->Dispatch(*this, message, wParam, lParam, result);
    }
    if (!handled) {
        result = DefWindowProc(message, wParam, lParam);
    }
    m_current = saved;
    return result;
}

LRESULT CWnd::Default() {
    return DefWindowProc(m_current.message, m_current.wParam, m_current.lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    QWidget* widget = m_hWnd != nullptr ? m_hWnd->widget.data() : nullptr;
    if (widget == nullptr) {
        return 0;
    }
    switch (message) {
        case WM_SYSCOMMAND:
            switch (static_cast<UINT>(wParam) & 0xFFF0) {
                case SC_CLOSE:
                    return SendMessage(WM_CLOSE);
                case SC_MINIMIZE:
                    widget->showMinimized();
                    return 0;
                case SC_RESTORE:
                    widget->showNormal();
                    return 0;
                case SC_MOVE:
                    if (QWindow* window = widget->windowHandle()) {
                        window->startSystemMove();
                    }
                    return 0;
                default:
                    return 0;
            }
        case WM_CLOSE:
            return DestroyWindow();
        case WM_SETICON:
            // Qt keeps one icon in several sizes, so the big and the small one are the same.
            if (lParam != 0) {
                widget->setWindowIcon(IconFor(reinterpret_cast<HICON>(lParam)));
            }
            return 0;
        default:
            return 0;
    }
}

BOOL CWnd::DestroyWindow() {
    if (m_hWnd == nullptr) {
        return FALSE;
    }
    SendMessage(WM_DESTROY);
    m_hWnd->Forget();
    return TRUE;
}

BOOL CWnd::UpdateData(BOOL saveAndValidate) {
    bool previous = m_notificationsLocked;
    m_notificationsLocked = true;
    CDataExchange exchange(this, saveAndValidate);
    DoDataExchange(&exchange);
    m_notificationsLocked = previous;
    return TRUE;
}

void CWnd::BeginWaitCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void CWnd::EndWaitCursor() {
    QApplication::restoreOverrideCursor();
}

CWaitCursor::CWaitCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

CWaitCursor::~CWaitCursor() {
    QApplication::restoreOverrideCursor();
}

// CDialog

CDialog::CDialog(UINT templateId, CWnd* parent) : m_templateId(templateId), m_pParentWnd(parent) {}

CDialog::~CDialog() {
    if (m_hWnd != nullptr) {
        DestroyWindow();
    }
}

const MessageMapBase* CDialog::GetMessageMap() const {
    static const MessageMap<CDialog> map(
        nullptr, {
                     MessageMap<CDialog>::Command(BN_CLICKED, IDOK, &CDialog::OnOK),
                     MessageMap<CDialog>::Command(BN_CLICKED, IDCANCEL, &CDialog::OnCancel),
                 });
    return &map;
}

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        // A dialog's close is its cancel command.
        SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return 0;
    }
    return CWnd::DefWindowProc(message, wParam, lParam);
}

bool CDialog::CreateFromTemplate(CWnd* owner) {
    const DialogTemplate* dialogTemplate = FindDialogTemplate(m_templateId);
    if (dialogTemplate == nullptr || m_hWnd != nullptr) {
        return false;
    }
    QWidget* ownerWidget = nullptr;
    if (owner != nullptr && owner->GetSafeHwnd() != nullptr) {
        ownerWidget = owner->GetSafeHwnd()->widget;
    }
    auto* widget = new DialogWidget(*dialogTemplate, this, ownerWidget);
    m_hWnd = widget->Handle();
    m_nModalResult = -1;
    BOOL defaultFocus = OnInitDialog();
    if (m_hWnd == nullptr) {
        return false;  // ended during its own initialisation
    }
    widget->adjustSize();
    widget->CenterOnOwner();
    widget->setWindowModality(Qt::ApplicationModal);
    widget->show();
    if (defaultFocus) {
        if (WindowHandle* first = widget->FirstTabStop()) {
            first->widget->setFocus(Qt::TabFocusReason);
        }
    }
    widget->activateWindow();
    return true;
}

BOOL CDialog::Create(CWnd* parent) {
    CWnd* owner = parent != nullptr ? parent : m_pParentWnd;
    if (owner == nullptr && AfxGetMainWnd() != this) {
        owner = AfxGetMainWnd();
    }
    return CreateFromTemplate(owner) ? TRUE : FALSE;
}

INT_PTR CDialog::DoModal() {
    CWnd* owner = m_pParentWnd;
    if (owner == nullptr && AfxGetMainWnd() != this) {
        owner = AfxGetMainWnd();
    }
    // The owner takes no input while the dialog runs.
    ModalLoop loop;
    m_modalLoop = &loop;
    if (!CreateFromTemplate(owner)) {
        m_modalLoop = nullptr;
        return m_nModalResult;
    }
    loop.loop.exec(QEventLoop::DialogExec);
    m_modalLoop = nullptr;
    if (m_hWnd != nullptr) {
        DestroyWindow();
    }
    // The owner takes input again, and is the active window as it was before.
    if (HWND ownerHandle = owner != nullptr ? owner->GetSafeHwnd() : nullptr;
        ownerHandle != nullptr && ownerHandle->widget != nullptr &&
        ownerHandle->widget->isVisible()) {
        ownerHandle->widget->activateWindow();
    }
    return m_nModalResult;
}

void CDialog::EndDialog(int result) {
    m_nModalResult = result;
    if (m_modalLoop != nullptr) {
        if (m_hWnd != nullptr && m_hWnd->widget != nullptr) {
            m_hWnd->widget->hide();
        }
        m_modalLoop->loop.exit(result);
    } else if (m_hWnd != nullptr) {
        if (m_hWnd->widget != nullptr) {
            m_hWnd->widget->hide();
        }
        DestroyWindow();
    }
}

BOOL CDialog::DestroyWindow() {
    if (m_hWnd == nullptr) {
        return FALSE;
    }
    DialogWidget* widget = qobject_cast<DialogWidget*>(m_hWnd->widget.data());
    SendMessage(WM_DESTROY);
    if (CWinApp* app = AfxGetApp(); app != nullptr && app->m_pMainWnd == this) {
        app->m_pMainWnd = nullptr;
    }
    if (widget != nullptr) {
        widget->hide();
        widget->Detach();
        widget->deleteLater();
    }
    m_hWnd = nullptr;
    if (m_modalLoop != nullptr) {
        m_modalLoop->loop.exit(m_nModalResult);
    }
    return TRUE;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    UpdateData(TRUE);
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

// Data exchange

void DDX_Text(CDataExchange* dx, int id, CString& value) {
    WindowHandle* control = FindControl(dx->m_pDlgWnd, id);
    if (control == nullptr) {
        return;
    }
    if (dx->m_bSaveAndValidate) {
        value = ControlText(control);
    } else if (!(ControlText(control) == value)) {
        // An edit that already shows the text keeps its caret and selection.
        SetControlText(control, value);
    }
}

void DDX_Check(CDataExchange* dx, int id, int& value) {
    WindowHandle* control = FindControl(dx->m_pDlgWnd, id);
    auto* box = control != nullptr ? qobject_cast<QCheckBox*>(control->widget.data()) : nullptr;
    if (box == nullptr) {
        return;
    }
    if (dx->m_bSaveAndValidate) {
        Qt::CheckState state = box->checkState();
        value = state == Qt::Checked ? 1 : state == Qt::PartiallyChecked ? 2 : 0;
        return;
    }
    if (value < 0 || value > 2) {
        value = 0;
    }
    box->setCheckState(value == 1   ? Qt::Checked
                       : value == 2 ? Qt::PartiallyChecked
                                    : Qt::Unchecked);
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
    if (control.m_hWnd != nullptr) {
        return;
    }
    WindowHandle* handle = FindControl(dx->m_pDlgWnd, id);
    if (handle != nullptr) {
        control.m_hWnd = handle;
        handle->attached.push_back(&control);
    }
}
