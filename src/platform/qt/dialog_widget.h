#pragma once
// The widget behind a CDialog, built from its dialog template. Private to platform/qt.

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include <memory>
#include <vector>

#include "handles.h"

class DialogWidget : public QDialog {
    Q_OBJECT
public:
    DialogWidget(const DialogTemplate& dialogTemplate, CDialog* dialog, QWidget* owner);
    ~DialogWidget() override;

    WindowHandle* Handle() { return &m_self; }
    WindowHandle* Control(int id);
    WindowHandle* FirstTabStop();
    const std::vector<std::unique_ptr<WindowHandle>>& Controls() const { return m_controls; }
    // The dialog object is going away or has let go of its window.
    void Detach();
    // Centres on the owner, or on the screen's work area when there is none.
    void CenterOnOwner();
    QPainter* Painter();

protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void AddControl(const ControlTemplate& control, const QFont& font, QSize baseUnits);

    CDialog* m_dialog;
    WindowHandle m_self;
    std::vector<std::unique_ptr<WindowHandle>> m_controls;
};

// An edit that remembers the exact bytes it was given, so that a text which is not valid in
// the code page reads back byte for byte as long as the user has not changed it.
class EditControl : public QLineEdit {
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;
    CString Bytes() const;
    void SetBytes(const CString& bytes);

private:
    CString m_bytes;
    QString m_shown;
};

// The dialog font and its base units, as the platform computes them.
QFont DialogFont(const DialogTemplate& dialogTemplate);
QSize DialogBaseUnits(const QFont& font);
QRect DialogUnitsToPixels(QRect units, QSize baseUnits);
