#pragma once

#include "platform/afxwin.h"

// The options dialog: whether a rename lowers the case of each extension.
class CSettingsDlg : public CDialog {
public:
    explicit CSettingsDlg(CWnd* parent = nullptr);
    ~CSettingsDlg() override = default;

    int m_nSmallCheck;  // set by the caller before the dialog is shown
    int m_bLowerExt;

protected:
    const MessageMapBase* GetMessageMap() const override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
};
