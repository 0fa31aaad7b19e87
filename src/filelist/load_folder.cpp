#include <array>
#include <cstring>

#include "filelist/search_pattern.h"
#include "filelist/text_compare.h"
#include "platform/files.h"
#include "ui/main_dlg.h"

namespace {

// A search handle that is closed on every way out.
class FindHandle {
public:
    explicit FindHandle(HANDLE handle) : m_handle(handle) {}
    ~FindHandle() {
        if (m_handle != INVALID_HANDLE_VALUE) {
            FindClose(m_handle);
        }
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    bool IsValid() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_handle; }

private:
    HANDLE m_handle;
};

bool IsDotEntry(const char* name) {
    return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

}  // namespace

void CMainDlg::LoadFolder(CString folder, BOOL report) {
    CWaitCursor wait;
    if (folder.IsEmpty()) {
        return;
    }
    CString pattern = MakeSearchPattern(folder, m_strFilter);

    SetLastError(0);
    WIN32_FIND_DATAA entry{};
    FindHandle search(FindFirstFileA(pattern, &entry));
    if (!search.IsValid()) {
        DWORD code = GetLastError();
        if (code == ERROR_FILE_NOT_FOUND) {
            m_list.DeleteAllItems();
            m_strFolder = folder;
            m_strListedFolder = FolderOfPattern(pattern);
            UpdateData(FALSE);
        } else if (code != ERROR_PATH_NOT_FOUND || report) {
            ReportError(code);
        }
        return;
    }

    m_list.DeleteAllItems();
    m_strFolder = folder;
    m_strListedFolder = FolderOfPattern(pattern);
    do {
        if (IsDotEntry(entry.cFileName) || (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            continue;
        }
        CString timeText = FormatFileTimeText(entry.ftLastWriteTime);
        int row = m_list.InsertItem(LVIF_TEXT, 0, entry.cFileName, 0, 0, 0, 0);
        m_list.SetItem(row, 1, LVIF_TEXT, timeText, 0, 0, 0, 0);
    } while (FindNextFileA(search.Get(), &entry));

    UpdateData(FALSE);
    StampRowIndexes();
    SortParam byName{1, 0};
    m_list.SortItems(CompareRows, reinterpret_cast<DWORD_PTR>(&byName));
    m_bNameSortAsc = 0;
    m_bTimeSortAsc = 1;
}

void CMainDlg::ReportError(DWORD code) {
    std::array<char, 256> text{};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                   text.data(), static_cast<DWORD>(text.size()), nullptr);
    MessageBox(text[0] != '\0' ? text.data() : "エラーが発生しました。", "Muldreth",
               MB_ICONWARNING);
}

void CMainDlg::StampRowIndexes() {
    for (int i = 0; i < m_list.GetItemCount(); ++i) {
        m_list.SetItemData(i, static_cast<DWORD_PTR>(i));
    }
}

int CompareRows(LPARAM firstData, LPARAM secondData, LPARAM sortParam) {
    const auto* param = reinterpret_cast<const SortParam*>(sortParam);
    auto* dialog = static_cast<CMainDlg*>(AfxGetMainWnd());
    if (dialog == nullptr) {
        return 0;
    }
    CString first = dialog->m_list.GetItemText(static_cast<int>(firstData), param->nColumn);
    CString second = dialog->m_list.GetItemText(static_cast<int>(secondData), param->nColumn);
    return param->bAscending ? CompareRowTexts(first.View(), second.View())
                             : CompareRowTexts(second.View(), first.View());
}
