#include "ui/about_dlg.h"
#include "ui/main_dlg.h"
#include "ui/settings_dlg.h"

void CMainDlg::OnSettings() {
    CSettingsDlg dialog;
    dialog.m_nSmallCheck = m_nSmallCheck;
    if (dialog.DoModal() == IDOK) {
        m_nSmallCheck = dialog.m_bLowerExt != 0 ? 1 : 0;
    }
}

void CMainDlg::AddAboutToSystemMenu() {
    CMenu* systemMenu = GetSystemMenu(FALSE);
    if (systemMenu == nullptr) {
        return;
    }
    CString aboutText;
    if (!aboutText.LoadString(IDS_ABOUTBOX) || aboutText.IsEmpty()) {
        return;
    }
    systemMenu->AppendMenu(MF_SEPARATOR);
    systemMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, aboutText);
}

void CMainDlg::OnSysCommand(UINT nID, LPARAM) {
    // The low four bits of a system command belong to the system.
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg about;
        about.DoModal();
        return;
    }
    Default();
}
