#include "gui_support.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>

#include <unistd.h>
#include <cstdlib>
#include <cstring>

#include "platform/qt/handles.h"

CMainApp& TestApp() {
    static CMainApp app;
    return app;
}

WorkingFolder::WorkingFolder() : m_previous(QDir::currentPath().toLocal8Bit()) {
    QDir::setCurrent(m_dir.path());
    CMainApp& app = TestApp();
    std::free(const_cast<char*>(app.m_pszProfileName));
    QByteArray path = (m_dir.path() + "/FVanta.ini").toLocal8Bit();
    app.m_pszProfileName = strdup(path.constData());
}

WorkingFolder::~WorkingFolder() {
    if (chdir(m_previous.constData()) != 0) {
        QDir::setCurrent(QDir::tempPath());
    }
    // Folders a test made read-only must be writable again before they can be removed.
    QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QByteArray WorkingFolder::Read(const QString& name) const {
    QFile file(File(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WorkingFolder::Write(const QString& name, const QByteArray& bytes) const {
    QFile file(File(name));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(bytes);
    }
}

QWidget* DialogWidgetOf(const CWnd& dialog) {
    HWND handle = dialog.GetSafeHwnd();
    return handle != nullptr ? handle->widget.data() : nullptr;
}

void WhenModalOpens(std::function<void(QWidget*)> answer) {
    QWidget* before = QApplication::activeModalWidget();
    auto* timer = new QTimer;
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, before, answer, started] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal != before && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            answer(modal);
        } else if (started->elapsed() > 5000) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
}

void AnswerMessageBox(SeenBox& seen, const QString& button) {
    WhenModalOpens([&seen, button](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (box == nullptr) {
            return;
        }
        seen.seen = true;
        seen.caption = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        for (QAbstractButton* b : box->buttons()) {
            seen.buttons << b->text();
        }
        for (QAbstractButton* b : box->buttons()) {
            if (b->text() == button) {
                b->click();
                return;
            }
        }
        box->reject();
    });
}

OpenMainDialog::OpenMainDialog() {
    TestApp().m_pMainWnd = &dialog;
    dialog.Create();
    if (QWidget* widget = DialogWidgetOf(dialog)) {
        widget->activateWindow();
        QApplication::setActiveWindow(widget);
    }
}

OpenMainDialog::~OpenMainDialog() {
    if (dialog.GetSafeHwnd() != nullptr) {
        dialog.DestroyWindow();
    }
    TestApp().m_pMainWnd = nullptr;
}

QLineEdit* OpenMainDialog::Edit(int id) {
    return Control<QLineEdit>(dialog, id);
}

QPushButton* OpenMainDialog::Button(int id) {
    return Control<QPushButton>(dialog, id);
}

QStringList OpenMainDialog::Names() {
    QStringList names;
    for (int i = 0; i < dialog.m_list.GetItemCount(); ++i) {
        names << QString::fromUtf8(dialog.m_list.GetItemText(i, 0).GetString());
    }
    return names;
}

QString OpenMainDialog::Time(int row) {
    return QString::fromUtf8(dialog.m_list.GetItemText(row, 1).GetString());
}

QList<int> OpenMainDialog::Selected() {
    QList<int> rows;
    for (int row = dialog.m_list.GetNextItem(-1, LVNI_SELECTED); row != -1;
         row = dialog.m_list.GetNextItem(row, LVNI_SELECTED)) {
        rows << row;
    }
    return rows;
}

void OpenMainDialog::ClickHeader(int column) {
    auto* header = Control(dialog, IDC_FILE_LIST)->findChild<QHeaderView*>();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
}

void OpenMainDialog::SetRows(const QStringList& names) {
    dialog.m_list.DeleteAllItems();
    for (const QString& name : names) {
        int row = dialog.m_list.InsertItem(dialog.m_list.GetItemCount(), name.toUtf8().constData());
        dialog.m_list.SetItemText(row, 1, ("t-" + name).toUtf8().constData());
    }
}

BoxAnswerer::BoxAnswerer(QString cancelCaption) : m_cancelCaption(std::move(cancelCaption)) {
    m_timer.setInterval(5);
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) {
            return;
        }
        SeenBox entry;
        entry.seen = true;
        entry.caption = box->windowTitle();
        entry.text = box->text();
        entry.icon = box->icon();
        for (QAbstractButton* b : box->buttons()) {
            entry.buttons << b->text();
        }
        seen << entry;
        QString wanted =
            entry.caption == m_cancelCaption ? QStringLiteral("キャンセル") : QStringLiteral("OK");
        for (QAbstractButton* b : box->buttons()) {
            if (b->text() == wanted) {
                b->click();
                return;
            }
        }
    });
    m_timer.start();
}

BoxAnswerer::~BoxAnswerer() {
    m_timer.stop();
}
