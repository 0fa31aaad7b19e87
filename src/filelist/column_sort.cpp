#include "ui/main_dlg.h"

void CMainDlg::OnColumnClick(NMHDR* header, LRESULT* result) {
    StampRowIndexes();
    int column = reinterpret_cast<NMLISTVIEW*>(header)->iSubItem;
    BOOL ascending = column != 0 ? m_bTimeSortAsc : m_bNameSortAsc;
    SortParam param{ascending, column};
    m_list.SortItems(CompareRows, reinterpret_cast<DWORD_PTR>(&param));
    if (column != 0) {
        m_bNameSortAsc = 1;
        m_bTimeSortAsc = m_bTimeSortAsc == 0 ? 1 : 0;
    } else {
        m_bTimeSortAsc = 1;
        m_bNameSortAsc = m_bNameSortAsc == 0 ? 1 : 0;
    }
    *result = 0;
}
