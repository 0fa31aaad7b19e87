#include <array>

#include "platform/shell.h"
#include "ui/main_dlg.h"

void CMainDlg::OnBrowse() {
    UpdateData(TRUE);
    IMalloc* allocator = nullptr;
    if (SHGetMalloc(&allocator) != S_OK) {
        return;
    }
    LPITEMIDLIST desktop = nullptr;
    if (SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &desktop) != S_OK) {
        allocator->Release();
        return;
    }
    std::array<char, kMaxPath> displayName{};
    BROWSEINFOA info{};
    info.hwndOwner = GetSafeHwnd();
    info.pidlRoot = desktop;
    info.pszDisplayName = displayName.data();
    info.lpszTitle = "ファイル名を変更するファイルのあるフォルダを選択：";
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    LPITEMIDLIST picked = SHBrowseForFolderA(&info);
    std::array<char, kMaxPath> path{};
    if (picked != nullptr && SHGetPathFromIDListA(picked, path.data())) {
        LoadFolder(path.data(), TRUE);
    }
    if (picked != nullptr) {
        allocator->Free(picked);
    }
    allocator->Free(desktop);
    allocator->Release();
}

void CMainDlg::OnFolderOrFilterChange() {
    UpdateData(TRUE);
    LoadFolder(m_strFolder, FALSE);
}
