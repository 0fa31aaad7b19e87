#include "filelist/search_pattern.h"

CString MakeSearchPattern(const CString& folderText, const CString& filter) {
    CString pattern = folderText;
    if (!EndsWithSingleByte(pattern.View(), '\\')) {
        pattern += '\\';
    }
    pattern += filter.IsEmpty() ? CString("*.*") : filter;
    return pattern;
}

CString FolderOfPattern(const CString& pattern) {
    int last = -1;
    for (int i = 0; i < pattern.GetLength(); ++i) {
        char ch = pattern[i];
        if (IsDBCSLeadByte(static_cast<BYTE>(ch)) && i + 1 < pattern.GetLength()) {
            ++i;
        } else if (ch == '\\' || ch == '/') {
            last = i;
        }
    }
    return pattern.Left(last + 1);
}
