#include "app/main_app.h"

#include <cstdlib>
#include <cstring>

#include "platform/files.h"
#include "ui/main_dlg.h"
#include "ui/resources/templates.h"

namespace {
constexpr const char kSettingsFileName[] = "\\FVanta.ini";
}

CMainApp::CMainApp() {
    AfxSetResourceTable(&ProgramResources());
}

BOOL CMainApp::InitInstance() {
    Enable3dControlsStatic();

    std::free(const_cast<char*>(m_pszProfileName));
    m_pszProfileName = nullptr;
    auto* path = static_cast<char*>(std::malloc(kMaxPath));
    if (path == nullptr) {
        AfxMessageBox("メモリ不足エラーです。", MB_OK);
        return FALSE;
    }
    // The separator goes on even after a root's own, which names the same file.
    DWORD length = GetCurrentDirectoryA(kMaxPath, path);
    if (length == 0 || length + sizeof kSettingsFileName > static_cast<DWORD>(kMaxPath)) {
        // Without a usable working directory the file is named relative to it all the same.
        std::strcpy(path, "FVanta.ini");
    } else {
        std::strcat(path, kSettingsFileName);
    }
    m_pszProfileName = path;

    CMainDlg dialog;
    m_pMainWnd = &dialog;
    dialog.DoModal();
    return FALSE;
}

int CMainApp::ExitInstance() {
    std::free(const_cast<char*>(m_pszProfileName));
    m_pszProfileName = nullptr;
    return CWinApp::ExitInstance();
}
