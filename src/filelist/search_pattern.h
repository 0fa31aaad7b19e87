#pragma once

#include "platform/text.h"

// The pattern a listing searches: the folder text, a "\" unless its last whole character is
// one, then the filter ("*.*" when empty), appended unchanged.
CString MakeSearchPattern(const CString& folderText, const CString& filter);

// The folder a search pattern lists: everything up to its last separator ("\" or "/").
CString FolderOfPattern(const CString& pattern);
