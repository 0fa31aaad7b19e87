#pragma once
// The rule that turns the main dialog's texts and one file name into the file's current path and
// its new path: prefix + zero-padded running number + the file's own extension.

#include "platform/text.h"

struct StartNumber {
    int value;
    int width;
};

StartNumber ParseStartNumber(const CString& text);
CString MakeFolderPath(const CString& folderText);
CString GetExtension(const CString& fileName, int lowerCaseSetting);
CString FormatNumber(int value, int width);

struct RenamePaths {
    CString oldPath;
    CString newPath;
};

RenamePaths MakeRenamePaths(const CString& folderPath, const CString& prefix, int width,
                            int runningValue, const CString& fileName, int lowerCaseSetting);
