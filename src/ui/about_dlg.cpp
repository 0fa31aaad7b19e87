#include "ui/about_dlg.h"

#include "ui/resource.h"

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

const MessageMapBase* CAboutDlg::GetMessageMap() const {
    static const MessageMap<CAboutDlg> map(CDialog::GetMessageMap(), {});
    return &map;
}

void CAboutDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
}
