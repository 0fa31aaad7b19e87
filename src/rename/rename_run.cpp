#include "platform/files.h"
#include "rename/naming_rule.h"
#include "ui/main_dlg.h"

void CMainDlg::OnStartRename() {
    int first = m_list.GetNextItem(-1, LVNI_SELECTED);
    if (first == -1) {
        WarnNoSelection();
        return;
    }
    if (MessageBox("ファイル名を変更します。よろしいですか？", "確認",
                   MB_OKCANCEL | MB_ICONINFORMATION) != IDOK) {
        return;
    }
    UpdateData(TRUE);
    StartNumber start = ParseStartNumber(m_strStartNumber);
    CString folderPath = MakeFolderPath(m_strFolder);

    // The rows name files of the folder they were listed from; when the folder field now
    // names another, none of them is moved.
    bool sameFolder = folderPath == m_strListedFolder;
    auto runningValue = static_cast<unsigned int>(start.value);
    for (int current = first; current != -1;) {
        int next = m_list.GetNextItem(current, LVNI_SELECTED);
        CString fileName = m_list.GetItemText(current, 0);
        RenamePaths paths =
            MakeRenamePaths(folderPath, m_strPrefix, start.width, static_cast<int>(runningValue),
                            fileName, m_nSmallCheck);
        ++runningValue;
        if (!sameFolder || !MoveFileA(paths.oldPath, paths.newPath)) {
            MessageBox("既に同名のファイル名がフォルダ内に存在します。", "Filvanta",
                       MB_OK | MB_ICONERROR);
            break;
        }
        current = next;
    }
    LoadFolder(folderPath, TRUE);
}
