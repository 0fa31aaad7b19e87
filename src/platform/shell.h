#pragma once
// The shell's folder picker and its allocator, with the platform's names.

#include "afxwin.h"
#include "files.h"

using HRESULT = LONG;
inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
inline constexpr int CSIDL_DESKTOP = 0;
inline constexpr UINT BIF_RETURNONLYFSDIRS = 0x0001;

// An item of the shell's namespace; for us a file-system path.
using LPITEMIDLIST = struct ItemIdList*;
using LPCITEMIDLIST = const struct ItemIdList*;

class IMalloc {
public:
    virtual void Free(void* block) = 0;
    virtual unsigned long Release() = 0;

protected:
    ~IMalloc() = default;
};

using BFFCALLBACK = int (*)(HWND, UINT, LPARAM, LPARAM);

struct BROWSEINFOA {
    HWND hwndOwner;
    LPCITEMIDLIST pidlRoot;
    LPSTR pszDisplayName;  // receives the picked folder's name; at least kMaxPath bytes
    LPCSTR lpszTitle;
    UINT ulFlags;
    BFFCALLBACK lpfn;
    LPARAM lParam;
    int iImage;
};

HRESULT SHGetMalloc(IMalloc** allocator);
HRESULT SHGetSpecialFolderLocation(HWND owner, int folder, LPITEMIDLIST* item);
// A modal folder chooser; nullptr when the user cancels.
LPITEMIDLIST SHBrowseForFolderA(BROWSEINFOA* info);
// The item's path into a buffer of at least kMaxPath bytes.
BOOL SHGetPathFromIDListA(LPCITEMIDLIST item, LPSTR path);
