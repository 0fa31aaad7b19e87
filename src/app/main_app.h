#pragma once

#include "platform/afxwin.h"

class CMainApp : public CWinApp {
public:
    CMainApp();

    BOOL InitInstance() override;
    int ExitInstance() override;
};
