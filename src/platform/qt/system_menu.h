#pragma once
// The window's own system menu. X11 window managers keep their window menu to themselves, so
// the dialog opens this one on Alt+Space and on a right-click on its free area.

#include <QPoint>

#include "platform/afxwin.h"

struct MenuImpl {
    struct Item {
        UINT flags;
        UINT_PTR id;
        CString text;
    };
    std::vector<Item> items;
};

void OpenSystemMenu(CWnd* window, QPoint where);
