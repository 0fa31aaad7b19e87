#pragma once

#include "platform/afxwin.h"

// The About box: the program's icon, name, version and notice.
class CAboutDlg : public CDialog {
public:
    CAboutDlg();
    ~CAboutDlg() override = default;

protected:
    const MessageMapBase* GetMessageMap() const override;
    void DoDataExchange(CDataExchange* dx) override;
};
