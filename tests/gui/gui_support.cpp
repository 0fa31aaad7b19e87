#include "gui_support.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>

#include <cstdlib>
#include <cstring>
#include <unistd.h>

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
