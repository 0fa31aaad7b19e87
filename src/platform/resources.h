#pragma once
// Program resources as data: dialog templates, the string table and the icon. The program
// registers its table once at start-up; the dialog manager and LoadString read it.

#include <span>

#include "win_types.h"

struct ControlTemplate {
    enum class Kind { Edit, Button, Static, ListView, CheckBox, Icon };
    int id;
    Kind kind;
    const char* text;    // UTF-8; for an icon, unused
    short x, y, cx, cy;  // dialog units
    DWORD style;
    UINT iconId = 0;
};

struct DialogTemplate {
    UINT id;
    DWORD style;
    DWORD exStyle;
    short x, y, cx, cy;  // dialog units
    const char* caption;
    int pointSize;
    const char* fontName;
    std::span<const ControlTemplate> controls;
};

struct StringResource {
    UINT id;
    const char* text;
};

// An icon: one or more square images of 16 colours, each as rows of palette indexes (one hex
// digit a pixel, '.' transparent) over a palette of 16 RGB values.
struct IconImage {
    int size;
    std::span<const char* const> rows;
};

struct IconResource {
    UINT id;
    std::span<const unsigned int> palette;
    std::span<const IconImage> images;
};

struct ResourceTable {
    std::span<const DialogTemplate> dialogs;
    std::span<const StringResource> strings;
    std::span<const IconResource> icons;
};

void AfxSetResourceTable(const ResourceTable* table);
const DialogTemplate* FindDialogTemplate(UINT id);
const char* FindResourceString(UINT id);
const IconResource* FindIconResource(UINT id);
