#include "ui/main_dlg.h"

#include <array>

#include "platform/files.h"
#include "settings/settings_table.h"

CMainDlg::CMainDlg(CWnd* parent)
    : CDialog(IDD_MAIN_DIALOG, parent),
      m_nVersion(0),
      m_nSmallCheck(0),
      m_bTimeSortAsc(1),
      m_bNameSortAsc(0),
      m_hIcon(AfxGetApp() != nullptr ? AfxGetApp()->LoadIcon(IDR_MAINFRAME) : nullptr) {}

void CMainDlg::DoDataExchange(CDataExchange* dx) {
    DDX_Control(dx, IDC_FILE_LIST, m_list);
    DDX_Text(dx, IDC_PREFIX, m_strPrefix);
    DDX_Text(dx, IDC_FOLDER, m_strFolder);
    DDX_Text(dx, IDC_FILTER, m_strFilter);
    DDX_Text(dx, IDC_START_NUMBER, m_strStartNumber);
}

const MessageMapBase* CMainDlg::GetMessageMap() const {
    using Map = MessageMap<CMainDlg>;
    static const Map map(
        CDialog::GetMessageMap(),
        {
            Map::OnSysCommand(&CMainDlg::OnSysCommand),
            Map::Message(WM_PAINT, &CMainDlg::OnPaint),
            Map::OnQueryDragIcon(&CMainDlg::OnQueryDragIcon),
            Map::Command(BN_CLICKED, IDC_BROWSE, &CMainDlg::OnBrowse),
            Map::NotifyFrom(LVN_COLUMNCLICK, IDC_FILE_LIST, &CMainDlg::OnColumnClick),
            Map::Command(EN_CHANGE, IDC_FOLDER, &CMainDlg::OnFolderOrFilterChange),
            Map::Command(EN_CHANGE, IDC_FILTER, &CMainDlg::OnFolderOrFilterChange),
            Map::Command(BN_CLICKED, IDC_SELECT_ALL, &CMainDlg::OnSelectAll),
            Map::Command(BN_CLICKED, IDC_CLEAR_ALL, &CMainDlg::OnClearSelection),
            Map::Command(BN_CLICKED, IDC_MOVE_UP, &CMainDlg::OnMoveUp),
            Map::Command(BN_CLICKED, IDC_MOVE_DOWN, &CMainDlg::OnMoveDown),
            Map::Command(BN_CLICKED, IDC_START_RENAME, &CMainDlg::OnStartRename),
            Map::Message(WM_DESTROY, &CMainDlg::OnDestroy),
            Map::Command(BN_CLICKED, IDC_SETTINGS, &CMainDlg::OnSettings),
            Map::Command(BN_CLICKED, IDC_EXIT, &CMainDlg::OnExit),
        });
    return &map;
}

namespace {

// The working directory as the platform reports it, or "" when it cannot be had.
CString WorkingDirectory() {
    std::array<char, kMaxPath> buffer{};
    DWORD length = GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
    if (length == 0 || length >= buffer.size()) {
        return CString();
    }
    return CString(buffer.data(), static_cast<int>(length));
}

}  // namespace

BOOL CMainDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    AddAboutToSystemMenu();

    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    CString workingDirectory = WorkingDirectory();
    SettingsValues settings = ReadSettings(*AfxGetApp(), workingDirectory);
    m_nVersion = settings.version;
    m_strFolder = settings.folder;
    m_strPrefix = settings.prefix;
    m_strStartNumber = settings.startNumber;
    m_strFilter = settings.filter;
    m_nSmallCheck = settings.smallCheck;
    UpdateData(FALSE);

    m_list.InsertColumn(0, "ファイル名", LVCFMT_LEFT, 150);
    m_list.InsertColumn(1, "更新日時", LVCFMT_LEFT, 110);
    m_list.SetExtendedStyle(LVS_EX_FULLROWSELECT);

    LoadFolder(m_strFolder, TRUE);
    return TRUE;
}

void CMainDlg::OnPaint() {
    if (!IsIconic()) {
        CDialog::OnPaint();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    int cxIcon = GetSystemMetrics(SM_CXICON);
    int cyIcon = GetSystemMetrics(SM_CYICON);
    CRect rect;
    GetClientRect(&rect);
    int x = (rect.Width() - cxIcon + 1) / 2;
    int y = (rect.Height() - cyIcon + 1) / 2;
    DrawIcon(dc, x, y, m_hIcon);
}

HCURSOR CMainDlg::OnQueryDragIcon() {
    return m_hIcon;
}

void CMainDlg::OnDestroy() {
    CDialog::OnDestroy();
    UpdateData(TRUE);
    SettingsValues settings;
    settings.version = m_nVersion;
    settings.folder = m_strFolder;
    settings.prefix = m_strPrefix;
    settings.startNumber = m_strStartNumber;
    settings.filter = m_strFilter;
    settings.smallCheck = m_nSmallCheck;
    WriteSettings(*AfxGetApp(), settings);
}

void CMainDlg::OnExit() {
    DestroyWindow();
}
