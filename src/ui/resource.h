#pragma once
// Resource and control identifiers.

inline constexpr unsigned IDD_ABOUTBOX = 100;
inline constexpr unsigned IDS_ABOUTBOX = 101;
inline constexpr unsigned IDD_MAIN_DIALOG = 102;
inline constexpr unsigned IDR_MAINFRAME = 128;
inline constexpr unsigned IDD_SETTINGS = 135;

// Main dialog.
inline constexpr int IDC_FOLDER = 1000;
inline constexpr int IDC_FILE_LIST = 1001;
inline constexpr int IDC_SELECT_ALL = 1002;
inline constexpr int IDC_CLEAR_ALL = 1003;
inline constexpr int IDC_START_RENAME = 1004;
inline constexpr int IDC_SETTINGS = 1005;
inline constexpr int IDC_BROWSE = 1006;
inline constexpr int IDC_PREFIX = 1007;
inline constexpr int IDC_START_NUMBER = 1008;
inline constexpr int IDC_FILTER = 1009;
inline constexpr int IDC_MOVE_UP = 1010;
inline constexpr int IDC_MOVE_DOWN = 1011;
inline constexpr int IDC_EXIT = 1012;

// Options dialog.
inline constexpr int IDC_LOWER_EXTENSION = 1003;

// System menu command of the About box; the low four bits belong to the system.
inline constexpr unsigned IDM_ABOUTBOX = 0x0010;
