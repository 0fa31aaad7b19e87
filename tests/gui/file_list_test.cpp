// The file list: the folder scan, its failures, the column sort and the folder and filter entry.

#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>

#include <sys/stat.h>
#include <unistd.h>

#include "gui_support.h"
#include "ui/main_dlg.h"

namespace {

void Touch(const QString& path, const QDateTime& when = QDateTime()) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("x");
    file.flush();
    if (when.isValid()) {
        QVERIFY(file.setFileTime(when, QFileDevice::FileModificationTime));
    }
}

// The working folder's settings point the first listing at folder with the given filter.
void StoreFolder(const WorkingFolder& work, const QString& folder, const QString& filter) {
    work.Write("FVanta.ini",
               ("[Data]\r\nFolder=" + folder + "\r\nKaku=" + filter + "\r\n").toUtf8());
}

}  // namespace

class FileListTest : public QObject {
    Q_OBJECT
private slots:
    void listsFilesInNameOrderWithTheirTimes();
    void timesOutsideThe32BitRangeShowTheirMinute();
    void columnClicksAlternateEachColumnsDirection();
    void failuresFollowTheTable();
    void messageForACodeWithoutText();
    void typingAFolderRelistsSilentlyAndKeepsOtherFields();
    void filterEditsRelistAndEmptyFilterListsAll();
    void browsePicksOrCancels();
};

void FileListTest::listsFilesInNameOrderWithTheirTimes() {
    WorkingFolder work;
    QDir(work.Path()).mkdir("data");
    QString data = work.File("data");
    for (const char* name : {"9.txt", "10.txt", "b.txt", "A.txt", "_x.txt", ".hidden"}) {
        Touch(data + "/" + name, QDateTime(QDate(2000, 12, 26), QTime(14, 5, 59)));
    }
    QDir(data).mkdir("folder.txt");
    QVERIFY(QFile::link(data + "/folder.txt", data + "/link-to-folder"));
    StoreFolder(work, data, "*.*");
    OpenMainDialog main;
    QCOMPARE(main.Names(), (QStringList{".hidden", "10.txt", "9.txt", "_x.txt", "A.txt", "b.txt"}));
    QCOMPARE(main.Time(1), QStringLiteral("2000/12/26  14:05"));
    QCOMPARE(main.dialog.m_list.GetSelectedCount(), 0u);
    QCOMPARE(main.dialog.m_bNameSortAsc, 0);
    QCOMPARE(main.dialog.m_bTimeSortAsc, 1);
}

void FileListTest::timesOutsideThe32BitRangeShowTheirMinute() {
    WorkingFolder work;
    Touch(work.File("future"), QDateTime(QDate(2040, 5, 6), QTime(7, 8, 9)));
    Touch(work.File("past"), QDateTime(QDate(1950, 1, 2), QTime(3, 4, 5)));
    StoreFolder(work, work.Path(), "*.*");
    OpenMainDialog main;
    QCOMPARE(main.Names(), (QStringList{"future", "FVanta.ini", "past"}));
    QCOMPARE(main.Time(0), QStringLiteral("2040/05/06  07:08"));
    QCOMPARE(main.Time(2), QStringLiteral("1950/01/02  03:04"));
}

void FileListTest::columnClicksAlternateEachColumnsDirection() {
    WorkingFolder work;
    Touch(work.File("a"), QDateTime(QDate(2001, 1, 1), QTime(0, 0)));
    Touch(work.File("B"), QDateTime(QDate(1999, 1, 1), QTime(0, 0)));
    Touch(work.File("c"), QDateTime(QDate(2000, 1, 1), QTime(0, 0)));
    StoreFolder(work, work.Path(), "?");
    OpenMainDialog main;
    QCOMPARE(main.Names(), (QStringList{"a", "B", "c"}));
    main.dialog.m_list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    struct Step {
        int column;
        QStringList order;
        int nameAsc, timeAsc;
    };
    const Step steps[] = {
        {0, {"c", "B", "a"}, 1, 1},  // name descending
        {1, {"B", "c", "a"}, 1, 0},  // oldest first
        {1, {"a", "c", "B"}, 1, 1},  // newest first
        {0, {"a", "B", "c"}, 0, 1},  // name ascending after any time click
        {0, {"c", "B", "a"}, 1, 1},
    };
    for (const Step& step : steps) {
        main.ClickHeader(step.column);
        QCOMPARE(main.Names(), step.order);
        QCOMPARE(main.dialog.m_bNameSortAsc, step.nameAsc);
        QCOMPARE(main.dialog.m_bTimeSortAsc, step.timeAsc);
    }
    // The selection travelled with its row.
    int selected = main.dialog.m_list.GetNextItem(-1, LVNI_SELECTED);
    QCOMPARE(main.Names().at(selected), QStringLiteral("B"));
}

void FileListTest::failuresFollowTheTable() {
    WorkingFolder work;
    Touch(work.File("one.txt"));
    StoreFolder(work, work.Path(), "*.txt");
    OpenMainDialog main;
    QCOMPARE(main.Names(), QStringList{"one.txt"});

    // Code 3 without the report flag: nothing changes, nothing is said.
    main.dialog.LoadFolder(CString((work.Path() + "/missing").toUtf8().constData()), FALSE);
    QCOMPARE(main.Names(), QStringList{"one.txt"});
    QCOMPARE(main.Edit(IDC_FOLDER)->text(), work.Path());

    // Code 3 with it: the system's text under "Muldreth".
    SeenBox box;
    AnswerMessageBox(box);
    main.dialog.LoadFolder(CString((work.Path() + "/missing").toUtf8().constData()), TRUE);
    QVERIFY(box.seen);
    QCOMPARE(box.caption, QStringLiteral("Muldreth"));
    QCOMPARE(box.text, QStringLiteral("指定されたパスが見つかりません。\r\n"));
    QCOMPARE(box.icon, QMessageBox::Warning);
    QCOMPARE(box.buttons, QStringList{"OK"});
    QCOMPARE(main.Names(), QStringList{"one.txt"});

    // Code 2: emptied in silence, the folder taken, the sort flags left alone.
    main.ClickHeader(1);
    QCOMPARE(main.dialog.m_bTimeSortAsc, 0);
    main.Edit(IDC_FILTER)->setText("*.none");
    QCOMPARE(main.Names(), QStringList{});
    QCOMPARE(main.dialog.m_bTimeSortAsc, 0);

    // Only subfolders match: a search that started, so the flags are reset.
    QDir(work.Path()).mkdir("sub.none");
    main.Edit(IDC_FILTER)->setText("*.none ");
    main.Edit(IDC_FILTER)->setText("*.none");
    QCOMPARE(main.Names(), QStringList{});
    QCOMPARE(main.dialog.m_bTimeSortAsc, 1);

    // An empty folder text changes nothing.
    main.Edit(IDC_FILTER)->setText("*.txt");
    main.Edit(IDC_FOLDER)->clear();
    QCOMPARE(main.Names(), QStringList{"one.txt"});
    QCOMPARE(main.dialog.m_strFolder, "");
}

void FileListTest::messageForACodeWithoutText() {
    WorkingFolder work;
    OpenMainDialog main;
    SeenBox box;
    AnswerMessageBox(box);
    main.dialog.ReportError(0xDEAD);
    QCOMPARE(box.text, QStringLiteral("エラーが発生しました。"));
    QCOMPARE(box.caption, QStringLiteral("Muldreth"));
}

void FileListTest::typingAFolderRelistsSilentlyAndKeepsOtherFields() {
    WorkingFolder work;
    QDir(work.Path()).mkpath("da/ta");
    Touch(work.File("top.txt"));
    Touch(work.File("da/ta/inner.txt"));
    StoreFolder(work, work.Path(), "*.txt");
    OpenMainDialog main;
    main.Edit(IDC_PREFIX)->setText("keep_");
    QLineEdit* folder = main.Edit(IDC_FOLDER);
    folder->clear();
    folder->setFocus();
    QTest::keyClicks(folder, work.Path() + "/d");  // names nothing yet: silent, rows stay
    QCOMPARE(main.Names(), QStringList{"top.txt"});
    QTest::keyClicks(folder, "a/ta");
    QCOMPARE(main.Names(), QStringList{"inner.txt"});
    QCOMPARE(folder->text(), work.Path() + "/da/ta");
    QCOMPARE(folder->cursorPosition(), folder->text().size());
    QCOMPARE(main.Edit(IDC_PREFIX)->text(), QStringLiteral("keep_"));
}

void FileListTest::filterEditsRelistAndEmptyFilterListsAll() {
    WorkingFolder work;
    Touch(work.File("a.jpg"));
    Touch(work.File("b.JPG"));
    Touch(work.File("c.png"));
    StoreFolder(work, work.Path(), "*.jpg");
    OpenMainDialog main;
    QCOMPARE(main.Names(), (QStringList{"a.jpg", "b.JPG"}));
    QLineEdit* filter = main.Edit(IDC_FILTER);
    filter->clear();
    QCOMPARE(main.Names(), (QStringList{"a.jpg", "b.JPG", "c.png", "FVanta.ini"}));
    filter->setFocus();
    QTest::keyClicks(filter, "c.p");
    QCOMPARE(main.Names(), QStringList{});
    QTest::keyClicks(filter, "ng");
    QCOMPARE(main.Names(), QStringList{"c.png"});
}

void FileListTest::browsePicksOrCancels() {
    WorkingFolder work;
    QDir(work.Path()).mkdir("picked");
    Touch(work.File("picked/p.txt"));
    StoreFolder(work, work.Path(), "*.txt");
    OpenMainDialog main;
    main.Edit(IDC_PREFIX)->setText("typed");

    QString title;
    bool dirsOnly = false;
    WhenModalOpens([&](QWidget* modal) {
        auto* picker = qobject_cast<QFileDialog*>(modal);
        QVERIFY(picker != nullptr);
        title = picker->windowTitle();
        dirsOnly = picker->testOption(QFileDialog::ShowDirsOnly) &&
                   picker->fileMode() == QFileDialog::Directory;
        picker->reject();
    });
    Control<QPushButton>(main.dialog, IDC_BROWSE)->click();
    QCOMPARE(title, QStringLiteral("ファイル名を変更するファイルのあるフォルダを選択："));
    QVERIFY(dirsOnly);
    QCOMPARE(main.Edit(IDC_FOLDER)->text(), work.Path());
    QCOMPARE(main.Edit(IDC_PREFIX)->text(), QStringLiteral("typed"));

    WhenModalOpens([&](QWidget* modal) {
        auto* picker = qobject_cast<QFileDialog*>(modal);
        picker->setDirectory(work.File("picked"));
        QMetaObject::invokeMethod(picker, "accept");
    });
    Control<QPushButton>(main.dialog, IDC_BROWSE)->click();
    QCOMPARE(main.Edit(IDC_FOLDER)->text(), work.File("picked"));
    QCOMPARE(main.Names(), QStringList{"p.txt"});
    QCOMPARE(main.Edit(IDC_PREFIX)->text(), QStringLiteral("typed"));
}

FV_GUI_TEST_MAIN(FileListTest)
#include "file_list_test.moc"
