#include "ui/resources/templates.h"

#include <array>

#include "platform/resources.h"
#include "ui/resource.h"
#include "ui/resources/icon_data.h"

namespace {

using Kind = ControlTemplate::Kind;

constexpr DWORD kEdit = 0x50810080;
constexpr DWORD kList = 0x50810009;
constexpr DWORD kPushButton = 0x50010000;
constexpr DWORD kDefaultPushButton = 0x50010001;
constexpr DWORD kLabel = 0x50020000;
constexpr DWORD kCentredLabel = 0x50020001;
constexpr const char* kDialogFont = "ＭＳ Ｐゴシック";

// Template order is creation order and tab order.
constexpr ControlTemplate kMainControls[] = {
    {IDC_FOLDER, Kind::Edit, "", 10, 15, 160, 15, kEdit},
    {IDC_BROWSE, Kind::Button, "参照", 170, 15, 25, 15, kPushButton},
    {IDC_FILE_LIST, Kind::ListView, "List1", 10, 40, 160, 145, kList},
    {IDC_PREFIX, Kind::Edit, "", 10, 205, 50, 15, kEdit},
    {IDC_START_NUMBER, Kind::Edit, "", 65, 205, 30, 15, kEdit},
    {IDC_FILTER, Kind::Edit, "", 130, 205, 35, 15, kEdit},
    {IDC_SELECT_ALL, Kind::Button, "全選択", 175, 50, 55, 15, kPushButton},
    {IDC_CLEAR_ALL, Kind::Button, "全解除", 175, 65, 55, 15, kPushButton},
    {IDC_MOVE_UP, Kind::Button, "↑", 190, 105, 25, 15, kPushButton},
    {IDC_MOVE_DOWN, Kind::Button, "↓", 190, 120, 25, 15, kPushButton},
    {IDC_START_RENAME, Kind::Button, "変換開始", 175, 155, 55, 15, kDefaultPushButton},
    {IDC_SETTINGS, Kind::Button, "設定", 175, 185, 55, 15, kPushButton},
    {-1, Kind::Static, "変更元フォルダ", 10, 5, 75, 10, kLabel},
    {-1, Kind::Static, "前固定部", 10, 195, 30, 10, kLabel},
    {-1, Kind::Static, "開始番号", 65, 195, 30, 10, kCentredLabel},
    {-1, Kind::Static, "表示拡張子", 130, 195, 35, 10, kLabel},
    {IDC_EXIT, Kind::Button, "終了", 175, 205, 55, 15, kPushButton},
};

constexpr ControlTemplate kAboutControls[] = {
    {-1, Kind::Icon, nullptr, 11, 17, 20, 20, 0x50000003, IDR_MAINFRAME},
    {-1, Kind::Static, "Filvanta Version 2.0", 40, 10, 119, 8, 0x50020080},
    {-1, Kind::Static, "Copyright (C) 2026 Filvanta", 40, 25, 119, 8, kLabel},
    {IDOK, Kind::Button, "OK", 178, 7, 50, 14, 0x50030001},
};

constexpr ControlTemplate kSettingsControls[] = {
    {IDOK, Kind::Button, "OK", 20, 30, 45, 14, kDefaultPushButton},
    {IDCANCEL, Kind::Button, "ｷｬﾝｾﾙ", 65, 30, 45, 14, kPushButton},
    {IDC_LOWER_EXTENSION, Kind::CheckBox, "変換時に拡張子を小文字にする。", 10, 10, 110, 10,
     0x50010003},
};

constexpr DialogTemplate kDialogs[] = {
    {IDD_MAIN_DIALOG, 0x90CA00C0, WS_EX_APPWINDOW, 0, 0, 239, 229, "Filvanta", 9, kDialogFont,
     kMainControls},
    {IDD_ABOUTBOX, 0x80C800C0, 0, 0, 0, 235, 55, "Filvantaのﾊﾞｰｼﾞｮﾝ情報", 9, kDialogFont,
     kAboutControls},
    {IDD_SETTINGS, 0x80C800C0, 0, 0, 0, 129, 49, "設定", 9, kDialogFont, kSettingsControls},
};

constexpr StringResource kStrings[] = {
    {IDS_ABOUTBOX, "Filvanta のﾊﾞｰｼﾞｮﾝ情報(&A)..."},
};

const IconImage kIconImages[] = {
    {32, kIcon32},
    {16, kIcon16},
};

const IconResource kIcons[] = {
    {IDR_MAINFRAME, kIconPalette, kIconImages},
};

const ResourceTable kResources = {kDialogs, kStrings, kIcons};

}  // namespace

const ResourceTable& ProgramResources() {
    return kResources;
}
