#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>

#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "handles.h"
#include "platform/profile.h"

namespace {

CWinApp* g_app = nullptr;

char* DuplicateText(std::string_view text) {
    auto* copy = static_cast<char*>(std::malloc(text.size() + 1));
    if (copy != nullptr) {
        std::memcpy(copy, text.data(), text.size());
        copy[text.size()] = '\0';
    }
    return copy;
}

// The platform's button texts, as a Japanese system shows them.
constexpr const char* kOkText = "OK";
constexpr const char* kCancelText = "キャンセル";

int ShowMessageBox(QWidget* owner, const CString& text, const CString& caption, UINT type) {
    QMessageBox box(owner);
    box.setWindowTitle(ToQString(caption.View()));
    box.setText(ToQString(text.View()));
    box.setTextFormat(Qt::PlainText);
    switch (type & 0xF0) {
        case MB_ICONERROR:
            box.setIcon(QMessageBox::Critical);
            break;
        case MB_ICONQUESTION:
            box.setIcon(QMessageBox::Question);
            break;
        case MB_ICONWARNING:
            box.setIcon(QMessageBox::Warning);
            break;
        case MB_ICONINFORMATION:
            box.setIcon(QMessageBox::Information);
            break;
        default:
            box.setIcon(QMessageBox::NoIcon);
            break;
    }
    QPushButton* ok = box.addButton(QString::fromUtf8(kOkText), QMessageBox::AcceptRole);
    ok->setObjectName(QStringLiteral("IDOK"));
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    QPushButton* cancel = nullptr;
    if ((type & 0xF) == MB_OKCANCEL) {
        cancel = box.addButton(QString::fromUtf8(kCancelText), QMessageBox::RejectRole);
        cancel->setObjectName(QStringLiteral("IDCANCEL"));
        box.setEscapeButton(cancel);
    }
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    // As on the platform, the owner is active again once its box is gone.
    if (owner != nullptr && owner->isVisible()) {
        owner->window()->activateWindow();
    }
    return cancel != nullptr && box.clickedButton() != ok ? IDCANCEL : IDOK;
}

QWidget* WidgetOf(const CWnd* wnd) {
    HWND handle = wnd != nullptr ? wnd->GetSafeHwnd() : nullptr;
    return handle != nullptr ? handle->widget.data() : nullptr;
}

}  // namespace

int CWnd::MessageBox(LPCSTR text, LPCSTR caption, UINT type) {
    CString title = caption != nullptr
                        ? CString(caption)
                        : CString(AfxGetApp() != nullptr ? AfxGetApp()->m_pszAppName : nullptr);
    return ShowMessageBox(WidgetOf(this), CString(text), title, type);
}

int AfxMessageBox(LPCSTR text, UINT type) {
    // Without an icon of its own, a box of the application carries the exclamation mark.
    if ((type & 0xF0) == 0) {
        type |= MB_ICONEXCLAMATION;
    }
    CWinApp* app = AfxGetApp();
    return ShowMessageBox(WidgetOf(AfxGetMainWnd()), CString(text),
                          CString(app != nullptr ? app->m_pszAppName : nullptr), type);
}

CWinApp::CWinApp(LPCSTR appName) {
    if (appName != nullptr) {
        m_pszAppName = DuplicateText(appName);
    }
    g_app = this;
}

CWinApp::~CWinApp() {
    std::free(const_cast<char*>(m_pszAppName));
    std::free(const_cast<char*>(m_pszProfileName));
    if (g_app == this) {
        g_app = nullptr;
    }
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

int CWinApp::ExitInstance() {
    return 0;
}

UINT CWinApp::GetProfileInt(LPCSTR section, LPCSTR entry, int defaultValue) {
    if (m_pszProfileName == nullptr) {
        return static_cast<UINT>(defaultValue);
    }
    return static_cast<UINT>(ProfileGetInt(m_pszProfileName, section, entry, defaultValue));
}

CString CWinApp::GetProfileString(LPCSTR section, LPCSTR entry, LPCSTR defaultValue) {
    CString fallback(defaultValue);
    if (m_pszProfileName == nullptr) {
        return fallback;
    }
    return ProfileGetString(m_pszProfileName, section, entry, fallback);
}

BOOL CWinApp::WriteProfileInt(LPCSTR section, LPCSTR entry, int value) {
    return m_pszProfileName != nullptr && ProfileWriteInt(m_pszProfileName, section, entry, value);
}

BOOL CWinApp::WriteProfileString(LPCSTR section, LPCSTR entry, LPCSTR value) {
    return m_pszProfileName != nullptr &&
           ProfileWriteString(m_pszProfileName, section, entry, value != nullptr ? value : "");
}

namespace {

QImage IconImageToQImage(const IconResource& icon, const IconImage& image) {
    QImage result(image.size, image.size, QImage::Format_ARGB32);
    result.fill(Qt::transparent);
    for (int y = 0; y < image.size && y < static_cast<int>(image.rows.size()); ++y) {
        const char* row = image.rows[static_cast<std::size_t>(y)];
        for (int x = 0; x < image.size && row[x] != '\0'; ++x) {
            char c = row[x];
            int index = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
            if (index >= 0 && index < static_cast<int>(icon.palette.size())) {
                result.setPixel(x, y, 0xFF000000u | icon.palette[static_cast<std::size_t>(index)]);
            }
        }
    }
    return result;
}

}  // namespace

HICON CWinApp::LoadIcon(UINT id) const {
    // Resource icons belong to the platform: made once, never released.
    static std::map<UINT, std::unique_ptr<IconHandle>> loaded;
    if (auto it = loaded.find(id); it != loaded.end()) {
        return it->second.get();
    }
    const IconResource* resource = FindIconResource(id);
    if (resource == nullptr) {
        return nullptr;
    }
    auto handle = std::make_unique<IconHandle>();
    for (const IconImage& image : resource->images) {
        QPixmap pixmap = QPixmap::fromImage(IconImageToQImage(*resource, image));
        handle->icon.addPixmap(pixmap);
        if (handle->big.isNull() || pixmap.width() > handle->big.width()) {
            handle->big = pixmap;
        }
    }
    HICON result = handle.get();
    loaded.emplace(id, std::move(handle));
    return result;
}

QIcon IconFor(HICON icon) {
    return icon != nullptr ? icon->icon : QIcon();
}

CWinApp* AfxGetApp() {
    return g_app;
}

CWnd* AfxGetMainWnd() {
    return g_app != nullptr ? g_app->m_pMainWnd : nullptr;
}

int GetSystemMetrics(int index) {
    switch (index) {
        case SM_CXICON:
        case SM_CYICON:
            return 32;
        default:
            return 0;
    }
}

CPaintDC::CPaintDC(CWnd* wnd) : m_hDC(nullptr) {
    HWND handle = wnd != nullptr ? wnd->GetSafeHwnd() : nullptr;
    if (handle != nullptr && handle->widget != nullptr) {
        m_hDC = new PaintContext(handle->widget);
    }
}

CPaintDC::~CPaintDC() {
    delete m_hDC;
}

BOOL DrawIcon(HDC dc, int x, int y, HICON icon) {
    if (dc == nullptr || icon == nullptr) {
        return FALSE;
    }
    dc->painter.drawPixmap(x, y, icon->big);
    return TRUE;
}

void AfxWinInit(int& argc, char** argv) {
    if (QApplication::instance() == nullptr) {
        new QApplication(argc, argv);  // lives until the process ends
    }
    static QTranslator qtTranslator;
    if (qtTranslator.isEmpty() &&
        qtTranslator.load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                          QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTranslator);
    }
    CWinApp* app = AfxGetApp();
    if (app == nullptr) {
        return;
    }
    if (app->m_pszAppName == nullptr) {
        // Named after the executable's file name without its extension.
        std::string name = argc > 0 && argv[0] != nullptr ? argv[0] : "";
        name = name.substr(name.find_last_of('/') + 1);
        if (auto dot = name.rfind('.'); dot != std::string::npos && dot > 0) {
            name.erase(dot);
        }
        app->m_pszAppName = DuplicateText(name);
    }
    if (app->m_pszProfileName == nullptr) {
        app->m_pszProfileName = DuplicateText(std::string(app->m_pszAppName) + ".INI");
    }
}

int AfxWinMain(int argc, char** argv) {
    AfxWinInit(argc, argv);
    CWinApp* app = AfxGetApp();
    if (app == nullptr) {
        return -1;
    }
    if (app->InitInstance()) {
        QApplication::exec();
    }
    return app->ExitInstance();
}
