#include <QFileDialog>

#include <cstring>

#include "handles.h"
#include "platform/shell.h"

struct ItemIdList {
    CString path;
};

namespace {

class ShellAllocator final : public IMalloc {
public:
    void Free(void* block) override { delete static_cast<ItemIdList*>(block); }
    unsigned long Release() override { return 1; }
};

ShellAllocator g_allocator;

}  // namespace

HRESULT SHGetMalloc(IMalloc** allocator) {
    if (allocator == nullptr) {
        return E_FAIL;
    }
    *allocator = &g_allocator;
    return S_OK;
}

HRESULT SHGetSpecialFolderLocation(HWND, int folder, LPITEMIDLIST* item) {
    if (item == nullptr || folder != CSIDL_DESKTOP) {
        return E_FAIL;
    }
    // The top of the file-system namespace.
    *item = new ItemIdList{CString("/")};
    return S_OK;
}

LPITEMIDLIST SHBrowseForFolderA(BROWSEINFOA* info) {
    QWidget* owner = info->hwndOwner != nullptr ? info->hwndOwner->widget.data() : nullptr;
    QFileDialog picker(owner, info->lpszTitle != nullptr ? ToQString(info->lpszTitle) : QString());
    picker.setObjectName(QStringLiteral("FolderPicker"));
    picker.setOption(QFileDialog::DontUseNativeDialog);
    picker.setOption(QFileDialog::ShowDirsOnly);
    picker.setFileMode(QFileDialog::Directory);
    picker.setAcceptMode(QFileDialog::AcceptOpen);
    picker.setWindowModality(Qt::ApplicationModal);
    QString root =
        info->pidlRoot != nullptr ? ToQString(info->pidlRoot->path.View()) : QStringLiteral("/");
    picker.setDirectory(root);
    if (picker.exec() != QDialog::Accepted || picker.selectedFiles().isEmpty()) {
        return nullptr;
    }
    QString chosen = picker.selectedFiles().front();
    QFileInfo folder(chosen);
    if (!folder.isDir()) {
        return nullptr;
    }
    // The OS's own bytes for the path, not a round trip through the display text.
    QByteArray bytes = QFile::encodeName(folder.absoluteFilePath());
    auto* item = new ItemIdList{CString(bytes.constData(), static_cast<int>(bytes.size()))};
    if (info->pszDisplayName != nullptr) {
        QByteArray name = QFile::encodeName(folder.fileName()).left(kMaxPath - 1);
        std::memcpy(info->pszDisplayName, name.constData(), static_cast<std::size_t>(name.size()));
        info->pszDisplayName[name.size()] = '\0';
    }
    return item;
}

BOOL SHGetPathFromIDListA(LPCITEMIDLIST item, LPSTR path) {
    if (item == nullptr || path == nullptr || item->path.GetLength() >= kMaxPath) {
        return FALSE;
    }
    std::memcpy(path, item->path.GetString(), static_cast<std::size_t>(item->path.GetLength()) + 1);
    return TRUE;
}
