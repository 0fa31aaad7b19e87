#pragma once
// Helpers for the dialog tests: a temporary working directory with its own settings file,
// controls found by id, and answers to modal boxes given from inside their own loops.

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <string>

#include "app/main_app.h"
#include "ui/main_dlg.h"

class QLineEdit;
class QPushButton;

// Makes a fresh temporary folder the working directory and points the application's settings
// file at FVanta.ini inside it; the previous working directory comes back at the end.
class WorkingFolder {
public:
    WorkingFolder();
    ~WorkingFolder();
    QString Path() const { return m_dir.path(); }
    QString File(const QString& name) const { return m_dir.filePath(name); }
    QByteArray Read(const QString& name) const;
    void Write(const QString& name, const QByteArray& bytes) const;

private:
    QTemporaryDir m_dir;
    QByteArray m_previous;
};

// The application object of the tests: the program's own, without running it.
CMainApp& TestApp();

QWidget* DialogWidgetOf(const CWnd& dialog);

template <class T = QWidget>
T* Control(const CWnd& dialog, int id) {
    QWidget* widget = DialogWidgetOf(dialog);
    return widget != nullptr ? widget->findChild<T*>(QString::number(id)) : nullptr;
}

// The next modal window that opens (a message box or a dialog) is handed to answer from
// inside its own loop. Waits up to five seconds for it.
void WhenModalOpens(std::function<void(QWidget*)> answer);

// What a message box showed, and the answer it was given.
struct SeenBox {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    bool seen = false;
};
// Answers the next message box with the button whose text is given, recording what it showed.
void AnswerMessageBox(SeenBox& seen, const QString& button = QStringLiteral("OK"));

// The main dialog with its protected operations in reach.
class TestableMainDlg : public CMainDlg {
public:
    using CMainDlg::LoadFolder;
    using CMainDlg::ReportError;
};

// The main dialog on the screen as start-up makes it (the main window, initialised, shown),
// without a modal run. Destroying it saves the settings as closing the window does.
struct OpenMainDialog {
    TestableMainDlg dialog;
    OpenMainDialog();
    ~OpenMainDialog();
    QLineEdit* Edit(int id);
    QPushButton* Button(int id);
    // Column 0 of every row, top to bottom.
    QStringList Names();
    QString Time(int row);
    QList<int> Selected();
    void ClickHeader(int column);
    // Replaces the rows with the given names, none selected.
    void SetRows(const QStringList& names);
};

// Answers every message box that opens while it lives, OK unless a caption asks for another
// button, and records what each showed.
class BoxAnswerer {
public:
    explicit BoxAnswerer(QString cancelCaption = QString());
    ~BoxAnswerer();
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;
    QList<SeenBox> seen;

private:
    QString m_cancelCaption;
    QTimer m_timer;
};

// A main function for a test class: the platform's start-up, then the tests.
#define FV_GUI_TEST_MAIN(TestClass)             \
    int main(int argc, char** argv) {           \
        QApplication app(argc, argv);           \
        TestApp();                              \
        AfxWinInit(argc, argv);                 \
        TestClass test;                         \
        return QTest::qExec(&test, argc, argv); \
    }
