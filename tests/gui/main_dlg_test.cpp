// The main window's life: settings read at start and written by every ending path, its layout
// and keyboard behaviour, and the data exchange it relies on.

#include <QCheckBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>

#include <unistd.h>

#include "gui_support.h"
#include "platform/qt/dialog_widget.h"
#include "ui/main_dlg.h"

namespace {

const QByteArray kFirstRunFile =
    "[Application]\r\nVersion=20\r\n[Data]\r\nFolder=%1\r\nPrefix=\r\nStartNumber=001\r\n"
    "Kaku=*.*\r\n[Config]\r\nSmallCheck=1\r\n";

QByteArray FirstRunFile(const QString& folder) {
    return QString::fromUtf8(kFirstRunFile).arg(folder).toUtf8();
}

// A dialog on the main template whose map counts what reaches it.
class CountingDlg : public CDialog {
public:
    CountingDlg() : CDialog(IDD_MAIN_DIALOG) {}
    int changes = 0;
    int columnClicks = 0;
    int lastColumn = -1;
    int startClicks = 0;
    CString folder;
    CListCtrl list;

protected:
    void DoDataExchange(CDataExchange* dx) override {
        DDX_Control(dx, IDC_FILE_LIST, list);
        DDX_Text(dx, IDC_FOLDER, folder);
    }
    const MessageMapBase* GetMessageMap() const override {
        using Map = MessageMap<CountingDlg>;
        static const Map map(
            CDialog::GetMessageMap(),
            {
                Map::Command(EN_CHANGE, IDC_FOLDER, &CountingDlg::OnChange),
                Map::NotifyFrom(LVN_COLUMNCLICK, IDC_FILE_LIST, &CountingDlg::OnColumnClick),
                Map::Command(BN_CLICKED, IDC_START_RENAME, &CountingDlg::OnStart),
            });
        return &map;
    }
    void OnChange() { ++changes; }
    void OnStart() { ++startClicks; }
    void OnColumnClick(NMHDR* header, LRESULT* result) {
        ++columnClicks;
        lastColumn = reinterpret_cast<NMLISTVIEW*>(header)->iSubItem;
        *result = 0;
    }

public:
    void Exchange(BOOL save) { UpdateData(save); }
};

}  // namespace

class MainDlgTest : public QObject {
    Q_OBJECT
private slots:
    void firstRunShowsDefaultsAndLeavesTheNineLines();
    void everyEndingPathSavesTheSameValues_data();
    void everyEndingPathSavesTheSameValues();
    void storedValuesComeBackAndUnknownLinesSurvive();
    void emptyStoredFolderStaysEmpty();
    void layoutFollowsTheTemplate();
    void tabWalksTheTemplateOrder();
    void enterPressesTheDefaultButtonUnlessAButtonHasFocus();
    void exchangeWritesWithoutNotificationsAndKeepsTheCaret();
    void columnClickReachesTheDialog();
    void listColumnsAndSelectionByMouse();
    void readOnlyWorkingFolderLosesNothing();
};

void MainDlgTest::firstRunShowsDefaultsAndLeavesTheNineLines() {
    WorkingFolder folder;
    {
        OpenMainDialog main;
        QCOMPARE(main.Edit(IDC_FOLDER)->text(), folder.Path());
        QCOMPARE(main.Edit(IDC_PREFIX)->text(), QString());
        QCOMPARE(main.Edit(IDC_START_NUMBER)->text(), QStringLiteral("001"));
        QCOMPARE(main.Edit(IDC_FILTER)->text(), QStringLiteral("*.*"));
        QCOMPARE(main.dialog.m_nSmallCheck, 1);
        QTRY_COMPARE(QApplication::focusWidget(), main.Edit(IDC_FOLDER));
        QVERIFY(folder.Read("FVanta.ini").isEmpty());  // nothing written before the end
        QTest::keyClick(DialogWidgetOf(main.dialog), Qt::Key_Escape);
        QVERIFY(main.dialog.GetSafeHwnd() == nullptr);
    }
    QCOMPARE(folder.Read("FVanta.ini"), FirstRunFile(folder.Path()));
}

void MainDlgTest::everyEndingPathSavesTheSameValues_data() {
    QTest::addColumn<QString>("path");
    QTest::newRow("exit button") << "exit";
    QTest::newRow("Esc") << "esc";
    QTest::newRow("close box") << "close";
    QTest::newRow("system close command") << "syscommand";
}

void MainDlgTest::everyEndingPathSavesTheSameValues() {
    QFETCH(QString, path);
    WorkingFolder folder;
    {
        OpenMainDialog main;
        // Typed and never used: still saved.
        main.Edit(IDC_PREFIX)->insert(QStringLiteral("旅行_"));
        main.Edit(IDC_START_NUMBER)->setText(QStringLiteral("0100"));
        main.Edit(IDC_FILTER)->setText(QStringLiteral("*.jpg"));
        main.Edit(IDC_FOLDER)->setText(QStringLiteral("/nowhere/写真"));
        if (path == "exit") {
            main.Button(IDC_EXIT)->click();
        } else if (path == "esc") {
            QTest::keyClick(main.Edit(IDC_PREFIX), Qt::Key_Escape);
        } else if (path == "close") {
            DialogWidgetOf(main.dialog)->close();
        } else {
            main.dialog.SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        QVERIFY(main.dialog.GetSafeHwnd() == nullptr);
        QVERIFY(TestApp().m_pMainWnd == nullptr);
    }
    QCOMPARE(folder.Read("FVanta.ini"),
             QByteArray("[Application]\r\nVersion=20\r\n[Data]\r\nFolder=/nowhere/写真\r\n"
                        "Prefix=旅行_\r\nStartNumber=0100\r\nKaku=*.jpg\r\n[Config]\r\n"
                        "SmallCheck=1\r\n"));
}

void MainDlgTest::storedValuesComeBackAndUnknownLinesSurvive() {
    WorkingFolder folder;
    QByteArray prefix(5000, 'p');
    folder.Write("FVanta.ini",
                 "; kept\r\n[Other]\r\nKey = value \r\n[application]\r\nversion=7\r\n"
                 "[Data]\r\nFolder=/tmp\r\nPrefix=" +
                     prefix +
                     "\r\nStartNumber= \"  7\" \r\nKaku=*.*\r\n"
                     "[Config]\r\nSmallCheck=2\r\nExtra=1\r\n");
    {
        OpenMainDialog main;
        QCOMPARE(main.dialog.m_nVersion, 7);
        QCOMPARE(main.dialog.m_nSmallCheck, 2);
        QCOMPARE(main.Edit(IDC_FOLDER)->text(), QStringLiteral("/tmp"));
        QCOMPARE(main.Edit(IDC_PREFIX)->text().size(), 4095);
        QCOMPARE(main.Edit(IDC_START_NUMBER)->text(), QStringLiteral("  7"));
        main.Button(IDC_EXIT)->click();
    }
    QByteArray saved = folder.Read("FVanta.ini");
    QVERIFY(saved.startsWith("; kept\r\n[Other]\r\nKey = value \r\n"));
    QVERIFY(saved.contains("\r\nVersion=20\r\n"));
    QVERIFY(saved.contains("\r\nPrefix=" + QByteArray(4095, 'p') + "\r\n"));
    QVERIFY(saved.contains("\r\nStartNumber=\"  7\"\r\n"));
    QVERIFY(saved.contains("\r\nSmallCheck=2\r\nExtra=1\r\n"));
}

void MainDlgTest::emptyStoredFolderStaysEmpty() {
    WorkingFolder folder;
    folder.Write("FVanta.ini", "[Data]\nFolder=\n");
    {
        OpenMainDialog main;
        QCOMPARE(main.Edit(IDC_FOLDER)->text(), QString());
        main.Button(IDC_EXIT)->click();
    }
    QVERIFY(folder.Read("FVanta.ini").contains("\r\nFolder=\r\n"));
}

void MainDlgTest::layoutFollowsTheTemplate() {
    WorkingFolder folder;
    OpenMainDialog main;
    QWidget* window = DialogWidgetOf(main.dialog);
    QCOMPARE(window->windowTitle(), QStringLiteral("Filvanta"));
    QSize units = DialogBaseUnits(window->font());
    auto px = [&](int x, int y, int w, int h) {
        return DialogUnitsToPixels(QRect(x, y, w, h), units);
    };
    QCOMPARE(window->size(), px(0, 0, 239, 229).size());
    QCOMPARE(window->minimumSize(), window->maximumSize());  // no sizing
    QVERIFY(window->windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(main.Edit(IDC_FOLDER)->geometry(), px(10, 15, 160, 15));
    QCOMPARE(Control(main.dialog, IDC_FILE_LIST)->geometry(), px(10, 40, 160, 145));
    QCOMPARE(main.Button(IDC_EXIT)->geometry(), px(175, 205, 55, 15));
    const std::pair<int, const char*> buttons[] = {
        {IDC_BROWSE, "参照"},   {IDC_SELECT_ALL, "全選択"}, {IDC_CLEAR_ALL, "全解除"},
        {IDC_MOVE_UP, "↑"},     {IDC_MOVE_DOWN, "↓"},       {IDC_START_RENAME, "変換開始"},
        {IDC_SETTINGS, "設定"}, {IDC_EXIT, "終了"},
    };
    for (auto [id, text] : buttons) {
        QCOMPARE(main.Button(id)->text(), QString::fromUtf8(text));
    }
    QStringList labels;
    for (QLabel* label : window->findChildren<QLabel*>()) {
        labels << label->text();
    }
    QCOMPARE(labels, (QStringList{"変更元フォルダ", "前固定部", "開始番号", "表示拡張子"}));
    QVERIFY(main.Button(IDC_START_RENAME)->isDefault());
    QFont font = window->font();
    QVERIFY(QFontInfo(font).family().contains("Gothic") ||
            QFontInfo(font).family().contains("ゴシック"));
}

void MainDlgTest::tabWalksTheTemplateOrder() {
    WorkingFolder folder;
    OpenMainDialog main;
    const int order[] = {IDC_FOLDER,       IDC_BROWSE,    IDC_FILE_LIST,    IDC_PREFIX,
                         IDC_START_NUMBER, IDC_FILTER,    IDC_SELECT_ALL,   IDC_CLEAR_ALL,
                         IDC_MOVE_UP,      IDC_MOVE_DOWN, IDC_START_RENAME, IDC_SETTINGS,
                         IDC_EXIT,         IDC_FOLDER};
    QTRY_COMPARE(QApplication::focusWidget(), Control(main.dialog, IDC_FOLDER));
    for (std::size_t i = 1; i < std::size(order); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QString::number(order[i]));
    }
}

void MainDlgTest::enterPressesTheDefaultButtonUnlessAButtonHasFocus() {
    WorkingFolder folder;
    CountingDlg dialog;
    dialog.Create();
    QApplication::setActiveWindow(DialogWidgetOf(dialog));
    for (int id : {IDC_FOLDER, IDC_PREFIX, IDC_START_NUMBER, IDC_FILTER, IDC_FILE_LIST}) {
        QWidget* control = Control(dialog, id);
        control->setFocus();
        int before = dialog.startClicks;
        QTest::keyClick(control, Qt::Key_Return);
        QCOMPARE(dialog.startClicks, before + 1);
    }
    QPushButton* settings = Control<QPushButton>(dialog, IDC_SETTINGS);
    QSignalSpy pressed(settings, &QPushButton::clicked);
    settings->setFocus();
    int before = dialog.startClicks;
    QTest::keyClick(settings, Qt::Key_Return);
    QCOMPARE(pressed.count(), 1);
    QCOMPARE(dialog.startClicks, before);
    dialog.DestroyWindow();
}

void MainDlgTest::exchangeWritesWithoutNotificationsAndKeepsTheCaret() {
    WorkingFolder folder;
    CountingDlg dialog;
    dialog.Create();
    auto* edit = Control<QLineEdit>(dialog, IDC_FOLDER);
    dialog.folder = "/srv/写真";
    dialog.Exchange(FALSE);
    QCOMPARE(edit->text(), QStringLiteral("/srv/写真"));
    QCOMPARE(dialog.changes, 0);
    QTest::keyClicks(edit, "x");
    QCOMPARE(dialog.changes, 1);  // a user's edit does notify
    edit->setCursorPosition(2);
    dialog.Exchange(TRUE);
    dialog.Exchange(FALSE);  // the same text again: the edit is left alone
    QCOMPARE(edit->cursorPosition(), 2);
    // A folder name that is not valid UTF-8 reads back byte for byte.
    dialog.folder = CString("/srv/\xFF\xFE");
    dialog.Exchange(FALSE);
    dialog.folder = "";
    dialog.Exchange(TRUE);
    QCOMPARE(QByteArray(dialog.folder.GetString()), QByteArray("/srv/\xFF\xFE"));
    QByteArray longText(300, 'a');
    edit->setText(QString::fromLatin1(longText));
    dialog.Exchange(TRUE);
    QCOMPARE(dialog.folder.GetLength(), 300);
    dialog.DestroyWindow();
}

void MainDlgTest::columnClickReachesTheDialog() {
    WorkingFolder folder;
    CountingDlg dialog;
    dialog.Create();
    dialog.list.InsertColumn(0, "ファイル名", LVCFMT_LEFT, 150);
    dialog.list.InsertColumn(1, "更新日時", LVCFMT_LEFT, 110);
    auto* header = Control(dialog, IDC_FILE_LIST)->findChild<QHeaderView*>();
    QVERIFY(header != nullptr);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(1) + 5, header->height() / 2));
    QCOMPARE(dialog.columnClicks, 1);
    QCOMPARE(dialog.lastColumn, 1);
    QVERIFY(!header->isSortIndicatorShown());
    dialog.DestroyWindow();
}

void MainDlgTest::listColumnsAndSelectionByMouse() {
    WorkingFolder folder;
    OpenMainDialog main;
    CListCtrl& list = main.dialog.m_list;
    QWidget* view = Control(main.dialog, IDC_FILE_LIST);
    auto* header = view->findChild<QHeaderView*>();
    QCOMPARE(header->count(), 2);
    QCOMPARE(header->model()->headerData(0, Qt::Horizontal).toString(),
             QStringLiteral("ファイル名"));
    QCOMPARE(header->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("更新日時"));
    // Widths given for the platform's font grow with our dialog units.
    double scale = std::max(1.0, DialogBaseUnits(view->font()).width() / 6.0);
    QCOMPARE(header->sectionSize(0), qRound(150 * scale));
    QCOMPARE(header->sectionSize(1), qRound(110 * scale));
    QVERIFY(header->sectionSize(1) - 4 >=
            QFontMetrics(view->font()).horizontalAdvance(QStringLiteral("2024/02/11  13:05")));
    QCOMPARE(list.GetExtendedStyle(), LVS_EX_FULLROWSELECT);
    list.DeleteAllItems();
    for (const char* name : {"a.txt", "b.txt", "c.txt", "d.txt"}) {
        int row = list.InsertItem(list.GetItemCount(), name);
        list.SetItemText(row, 1, "2000/12/26  14:05");
    }
    auto* area = qobject_cast<QAbstractScrollArea*>(view);
    int rowHeight = area->viewport()->height() > 0 ? QFontMetrics(view->font()).height() + 3 : 0;
    auto rowPoint = [&](int row) { return QPoint(200, row * rowHeight + rowHeight / 2); };
    // Full-row selection: a click in the time column selects the row.
    QTest::mouseClick(area->viewport(), Qt::LeftButton, {}, rowPoint(1));
    QCOMPARE(list.GetSelectedCount(), 1u);
    QCOMPARE(list.GetNextItem(-1, LVNI_SELECTED), 1);
    QTest::mouseClick(area->viewport(), Qt::LeftButton, Qt::ShiftModifier, rowPoint(3));
    QCOMPARE(list.GetSelectedCount(), 3u);
    QTest::mouseClick(area->viewport(), Qt::LeftButton, Qt::ControlModifier, rowPoint(2));
    QCOMPARE(list.GetSelectedCount(), 2u);
    QCOMPARE(list.GetItemState(2, LVIS_FOCUSED), LVIS_FOCUSED);
    QTest::keyClick(view, Qt::Key_Home);
    QCOMPARE(list.GetNextItem(-1, LVNI_SELECTED), 0);
    QCOMPARE(list.GetSelectedCount(), 1u);
    QTest::keyClick(view, Qt::Key_End, Qt::ShiftModifier);
    QCOMPARE(list.GetSelectedCount(), 4u);
    QTest::keyClicks(view, "c");
    QCOMPARE(list.GetItemState(2, LVIS_FOCUSED), LVIS_FOCUSED);
    // The selection stays when the focus leaves the list.
    main.Edit(IDC_PREFIX)->setFocus();
    QCOMPARE(list.GetSelectedCount(), 1u);
}

void MainDlgTest::readOnlyWorkingFolderLosesNothing() {
    WorkingFolder folder;
    QByteArray before = "[Data]\r\nPrefix=keep\r\n";
    folder.Write("FVanta.ini", before);
    QFile::setPermissions(folder.Path(), QFile::ReadOwner | QFile::ExeOwner);
    if (access(folder.Path().toLocal8Bit().constData(), W_OK) == 0) {
        QFile::setPermissions(folder.Path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QSKIP("running with rights that ignore a read-only folder");
    }
    {
        OpenMainDialog main;
        main.Edit(IDC_PREFIX)->setText("changed");
        main.Button(IDC_EXIT)->click();
    }
    QCOMPARE(folder.Read("FVanta.ini"), before);
    QCOMPARE(QDir(folder.Path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

FV_GUI_TEST_MAIN(MainDlgTest)
#include "main_dlg_test.moc"
