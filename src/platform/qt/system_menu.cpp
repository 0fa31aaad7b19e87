#include "system_menu.h"

#include <QMenu>

#include "dialog_widget.h"

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR id, LPCSTR text) {
    if (m_impl == nullptr) {
        return FALSE;
    }
    m_impl->items.push_back({flags, id, CString(text)});
    return TRUE;
}

int CMenu::GetMenuItemCount() const {
    return m_impl != nullptr ? static_cast<int>(m_impl->items.size()) : -1;
}

namespace {

struct StandardCommand {
    UINT id;
    const char* text;
    const char* shortcut;
};

// As a Japanese system labels its window menu.
constexpr StandardCommand kStandardCommands[] = {
    {SC_RESTORE, "元のサイズに戻す(&R)", nullptr},
    {SC_MOVE, "移動(&M)", nullptr},
    {SC_SIZE, "サイズ変更(&S)", nullptr},
    {SC_MINIMIZE, "最小化(&N)", nullptr},
    {SC_MAXIMIZE, "最大化(&X)", nullptr},
    {0, nullptr, nullptr},
    {SC_CLOSE, "閉じる(&C)", "Alt+F4"},
};

bool CommandEnabled(UINT id, const QWidget* window) {
    Qt::WindowFlags flags = window->windowFlags();
    bool resizable = window->minimumSize() != window->maximumSize();
    switch (id) {
        case SC_RESTORE:
            return window->isMinimized() || window->isMaximized();
        case SC_MOVE:
            return !window->isMinimized() && !window->isMaximized();
        case SC_SIZE:
            return resizable && !window->isMinimized();
        case SC_MINIMIZE:
            return (flags & Qt::WindowMinimizeButtonHint) && !window->isMinimized();
        case SC_MAXIMIZE:
            return (flags & Qt::WindowMaximizeButtonHint) && !window->isMaximized();
        default:
            return true;
    }
}

}  // namespace

void OpenSystemMenu(CWnd* window, QPoint where) {
    HWND handle = window->GetSafeHwnd();
    CMenu* appended = window->GetSystemMenu(FALSE);
    if (handle == nullptr || handle->widget == nullptr) {
        return;
    }
    QWidget* widget = handle->widget;
    QMenu menu(widget);
    menu.setObjectName(QStringLiteral("SystemMenu"));
    auto addItem = [&menu](UINT id, const QString& text, bool enabled, const QString& shortcut) {
        QAction* action = menu.addAction(shortcut.isEmpty() ? text : text + '\t' + shortcut);
        action->setData(id);
        action->setEnabled(enabled);
        if (id == SC_CLOSE) {
            QFont bold = action->font();
            bold.setBold(true);
            action->setFont(bold);
        }
    };
    for (const StandardCommand& command : kStandardCommands) {
        if (command.text == nullptr) {
            menu.addSeparator();
            continue;
        }
        addItem(command.id, QString::fromUtf8(command.text), CommandEnabled(command.id, widget),
                command.shortcut != nullptr ? QString::fromUtf8(command.shortcut) : QString());
    }
    if (appended != nullptr && appended->m_impl != nullptr) {
        for (const MenuImpl::Item& item : appended->m_impl->items) {
            if (item.flags & MF_SEPARATOR) {
                menu.addSeparator();
            } else {
                addItem(static_cast<UINT>(item.id), ToQString(item.text.View()), true, {});
            }
        }
    }
    QAction* chosen = menu.exec(where);
    if (chosen != nullptr && handle->widget != nullptr) {
        window->SendMessage(WM_SYSCOMMAND, chosen->data().toUInt(), 0);
    }
}
