#pragma once
// The main window: the file list, the folder, filter, prefix and start-number fields, and the
// buttons that act on them.

#include "platform/afxwin.h"
#include "ui/resource.h"

// The record a sort of the list hands to CompareRows.
struct SortParam {
    int bAscending;
    int nColumn;
};

int CompareRows(LPARAM firstData, LPARAM secondData, LPARAM sortParam);

class CMainDlg : public CDialog {
public:
    explicit CMainDlg(CWnd* parent = nullptr);

    CListCtrl m_list;
    CString m_strPrefix;
    CString m_strFolder;
    CString m_strFilter;
    CString m_strStartNumber;
    int m_nVersion;
    int m_nSmallCheck;
    BOOL m_bTimeSortAsc;
    BOOL m_bNameSortAsc;
    HICON m_hIcon;
    // The folder that the listing which last replaced the rows searched, up to its separator.
    CString m_strListedFolder;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    const MessageMapBase* GetMessageMap() const override;

    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnDestroy();
    void OnExit();
    void OnBrowse();
    void OnColumnClick(NMHDR* header, LRESULT* result);
    void OnFolderOrFilterChange();
    void OnSelectAll();
    void OnClearSelection();
    void OnMoveUp();
    void OnMoveDown();
    void OnStartRename();
    void OnSettings();

    void AddAboutToSystemMenu();

    // Folder scan.
    void LoadFolder(CString folder, BOOL report);
    void ReportError(DWORD code);
    void StampRowIndexes();

    // Selection and row order.
    void WarnNoSelection();
    void MoveRow(int from, int to);
};
