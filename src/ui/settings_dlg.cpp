#include "ui/settings_dlg.h"

#include "ui/resource.h"

CSettingsDlg::CSettingsDlg(CWnd* parent)
    : CDialog(IDD_SETTINGS, parent), m_nSmallCheck(0), m_bLowerExt(0) {}

const MessageMapBase* CSettingsDlg::GetMessageMap() const {
    static const MessageMap<CSettingsDlg> map(CDialog::GetMessageMap(), {});
    return &map;
}

void CSettingsDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Check(dx, IDC_LOWER_EXTENSION, m_bLowerExt);
}

BOOL CSettingsDlg::OnInitDialog() {
    // The base's exchange shows the box unchecked first; only then is the setting read.
    CDialog::OnInitDialog();
    m_bLowerExt = m_nSmallCheck == 1 ? 1 : 0;
    UpdateData(FALSE);
    return TRUE;
}
