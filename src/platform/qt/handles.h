#pragma once
// What the platform's handles stand for on Qt. Private to platform/qt.

#include <QDialog>
#include <QIcon>
#include <QPainter>
#include <QPointer>
#include <QString>

#include <memory>
#include <vector>

#include "platform/afxwin.h"

// A window the program can name: a dialog or one of its controls.
struct WindowHandle {
    QPointer<QWidget> widget;
    CWnd* owner = nullptr;           // the dialog object, for a dialog's own handle
    WindowHandle* dialog = nullptr;  // the dialog a control belongs to
    int id = 0;
    ControlTemplate::Kind kind = ControlTemplate::Kind::Static;
    std::unique_ptr<CWnd> wrapper;  // what GetDlgItem hands out
    std::vector<CWnd*> attached;    // objects that DDX_Control bound to this control

    // Detaches every object that names this window; the widget goes after the current event.
    void Forget();
};

struct IconHandle {
    QIcon icon;
    QPixmap big;
};

struct PaintContext {
    QPainter painter;
    explicit PaintContext(QWidget* widget) : painter(widget) {}
};

QString ToQString(std::string_view bytes);
CString FromQString(const QString& text);

// Sends a control's notification to its dialog as the platform does: WM_COMMAND with the id
// and code, the control's handle as lParam.
void SendCommandNotification(WindowHandle* control, UINT code);

WindowHandle* FindControl(const CWnd* dialog, int id);
CString ControlText(const WindowHandle* control);
void SetControlText(WindowHandle* control, const CString& text);

QIcon IconFor(HICON icon);
