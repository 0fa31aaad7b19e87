#include "platform/afxtempl.h"
#include "ui/main_dlg.h"

void CMainDlg::WarnNoSelection() {
    MessageBox("ファイルが選択されていません。\nファイルを選択してから操作を行って下さい。",
               "Muldreth", MB_ICONWARNING);
}

void CMainDlg::OnSelectAll() {
    int count = m_list.GetItemCount();
    for (int i = 0; i < count; ++i) {
        m_list.SetItemState(i, LVIS_SELECTED, LVIS_SELECTED);
    }
    m_list.SetFocus();
}

void CMainDlg::OnClearSelection() {
    int count = m_list.GetItemCount();
    for (int i = 0; i < count; ++i) {
        m_list.SetItemState(i, 0, LVIS_SELECTED | LVIS_FOCUSED);
    }
    m_list.SetFocus();
}

// Recreates the row at from at the neighbouring index to, selected and focused; the two rows
// exchange places and every other row keeps its index.
void CMainDlg::MoveRow(int from, int to) {
    CString name = m_list.GetItemText(from, 0);
    CString time = m_list.GetItemText(from, 1);
    m_list.DeleteItem(from);
    int row = m_list.InsertItem(LVIF_TEXT, to, name, 0, 0, 0, 0);
    m_list.SetItem(row, 1, LVIF_TEXT, time, 0, 0, 0, 0);
    m_list.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void CMainDlg::OnMoveUp() {
    int first = m_list.GetNextItem(-1, LVNI_SELECTED);
    if (first == -1) {
        WarnNoSelection();
        return;
    }
    // The k-th selected row stands at index k exactly when it belongs to the leading run.
    int k = 0;
    for (int current = first; current != -1; ++k) {
        int next = m_list.GetNextItem(current, LVNI_SELECTED);
        if (current != k) {
            MoveRow(current, current - 1);
        }
        current = next;
    }
    m_list.SetFocus();
}

void CMainDlg::OnMoveDown() {
    int first = m_list.GetNextItem(-1, LVNI_SELECTED);
    if (first == -1) {
        WarnNoSelection();
        return;
    }
    // The whole selection is walked before any row moves: a moved row lands where the walk
    // would find it again. Moving from the bottom up keeps the smaller indexes valid.
    int k = m_list.GetItemCount() - static_cast<int>(m_list.GetSelectedCount());
    CArray<int> toMove;
    for (int current = first; current != -1; ++k) {
        int next = m_list.GetNextItem(current, LVNI_SELECTED);
        if (current != k) {
            toMove.Add(current);
        }
        current = next;
    }
    for (int i = toMove.GetUpperBound(); i >= 0; --i) {
        MoveRow(toMove[i], toMove[i] + 1);
    }
    m_list.SetFocus();
}
