// Faults between the listing and the run, names the file system refuses, folders that cannot
// be read, and names that are not valid UTF-8: what the user sees, and that nothing is lost.

#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "gui_support.h"

namespace {

const QString kFailedText = QStringLiteral("既に同名のファイル名がフォルダ内に存在します。");

void Write(const QByteArray& path, const QByteArray& content) {
    int fd = ::open(path.constData(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    QVERIFY(fd >= 0);
    QCOMPARE(::write(fd, content.constData(), static_cast<size_t>(content.size())),
             static_cast<ssize_t>(content.size()));
    ::close(fd);
}

QByteArray Read(const QByteArray& path) {
    QFile file(QFile::decodeName(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QStringList Entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                                  QDir::Name);
}

struct Folder {
    WorkingFolder work;
    QByteArray path;
    Folder() : path(QFile::encodeName(work.File("files"))) {
        QDir().mkpath(work.File("files"));
        work.Write("FVanta.ini", "[Data]\r\nFolder=" + path + "\r\n");
    }
    QByteArray operator/(const QByteArray& name) const { return path + "/" + name; }
};

bool RunningWithRightsThatIgnorePermissions(const QByteArray& folder) {
    return ::access(folder.constData(), R_OK) == 0;
}

}  // namespace

class FaultsTest : public QObject {
    Q_OBJECT
private slots:
    void aFileThatVanishedOrANameThatAppearedEndsTheRun();
    void subfoldersLinksAndLongNamesAreNeverReplaced();
    void namesThatAreNotUtf8ListAndRenameByteForByte();
    void anUnreadableFolderIsReportedAndNothingMoves();
};

void FaultsTest::aFileThatVanishedOrANameThatAppearedEndsTheRun() {
    Folder folder;
    Write(folder / "a.txt", "A");
    Write(folder / "b.txt", "B");
    Write(folder / "c.txt", "C");
    OpenMainDialog main;
    main.Edit(IDC_PREFIX)->setText("n");
    main.Button(IDC_SELECT_ALL)->click();
    // After the listing: a.txt goes away, and the name b.txt is to get appears.
    QCOMPARE(::unlink((folder / "a.txt").constData()), 0);
    Write(folder / "n002.txt", "someone else's");
    BoxAnswerer answers;
    main.Button(IDC_START_RENAME)->click();
    QCOMPARE(answers.seen.size(), 2);
    QCOMPARE(answers.seen[1].text, kFailedText);
    QCOMPARE(Entries(folder.work.File("files")), (QStringList{"b.txt", "c.txt", "n002.txt"}));
    QCOMPARE(Read(folder / "n002.txt"), QByteArray("someone else's"));
    QCOMPARE(Read(folder / "b.txt"), QByteArray("B"));
    QCOMPARE(main.Names(), (QStringList{"b.txt", "c.txt", "n002.txt"}));
}

void FaultsTest::subfoldersLinksAndLongNamesAreNeverReplaced() {
    Folder folder;
    Write(folder / "a.txt", "A");
    Write(folder / "b.txt", "B");
    Write(folder / "c.txt", "C");
    Write(folder.work.File("elsewhere").toLocal8Bit(), "target of the link");
    QDir().mkdir(folder.work.File("files/n1.txt"));
    QCOMPARE(::symlink(folder.work.File("elsewhere").toLocal8Bit().constData(),
                       (folder / "n2.txt").constData()),
             0);
    OpenMainDialog main;
    QCOMPARE(main.Names(), (QStringList{"a.txt", "b.txt", "c.txt", "n2.txt"}));
    main.dialog.m_list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    main.Edit(IDC_PREFIX)->setText("n");
    for (const char* start : {"1", "2"}) {  // a folder, then a link, of the new name
        main.Edit(IDC_START_NUMBER)->setText(start);
        main.dialog.m_list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
        BoxAnswerer answers;
        main.Button(IDC_START_RENAME)->click();
        QCOMPARE(answers.seen.size(), 2);
        QCOMPARE(Read(folder / "a.txt"), QByteArray("A"));
    }
    QVERIFY(QFileInfo(folder.work.File("files/n1.txt")).isDir());
    QCOMPARE(Read(folder.work.File("elsewhere").toLocal8Bit()), QByteArray("target of the link"));

    // A name longer than the file system takes.
    main.Edit(IDC_PREFIX)->setText(QString(300, 'x'));
    main.Edit(IDC_START_NUMBER)->setText("1");
    main.dialog.m_list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    BoxAnswerer answers;
    main.Button(IDC_START_RENAME)->click();
    QCOMPARE(answers.seen.size(), 2);
    QCOMPARE(answers.seen[1].text, kFailedText);
    QCOMPARE(Read(folder / "a.txt"), QByteArray("A"));
}

void FaultsTest::namesThatAreNotUtf8ListAndRenameByteForByte() {
    Folder folder;
    const QByteArray latin1 = "caf\xE9.JPG";         // a Latin-1 name from an old camera card
    const QByteArray sjis = "\x8E\xCA\x90\x5E.jpg";  // 写真 in Shift_JIS
    Write(folder / latin1, "latin1");
    Write(folder / sjis, "sjis");
    OpenMainDialog main;
    QCOMPARE(main.dialog.m_list.GetItemCount(), 2);
    QCOMPARE(QByteArray(main.dialog.m_list.GetItemText(0, 0).GetString()), latin1);
    QCOMPARE(QByteArray(main.dialog.m_list.GetItemText(1, 0).GetString()), sjis);
    main.Edit(IDC_PREFIX)->setText("photo_");
    main.Button(IDC_SELECT_ALL)->click();
    BoxAnswerer answers;
    main.Button(IDC_START_RENAME)->click();
    QCOMPARE(answers.seen.size(), 1);
    QCOMPARE(Read(folder / "photo_001.jpg"), QByteArray("latin1"));
    QCOMPARE(Read(folder / "photo_002.jpg"), QByteArray("sjis"));
}

void FaultsTest::anUnreadableFolderIsReportedAndNothingMoves() {
    Folder folder;
    Write(folder / "a.txt", "A");
    QDir().mkdir(folder.work.File("locked"));
    Write(QFile::encodeName(folder.work.File("locked/inside.txt")), "I");
    QByteArray locked = QFile::encodeName(folder.work.File("locked"));
    ::chmod(locked.constData(), 0);
    if (RunningWithRightsThatIgnorePermissions(locked)) {
        ::chmod(locked.constData(), 0755);
        QSKIP("running with rights that ignore permissions");
    }
    {
        OpenMainDialog main;
        {
            // Typed: reported at once, the rows of the last folder stay.
            BoxAnswerer typed;
            main.Edit(IDC_FOLDER)->setText(QFile::decodeName(locked));
            QCOMPARE(typed.seen.size(), 1);
            QCOMPARE(typed.seen[0].text, QStringLiteral("アクセスが拒否されました。\r\n"));
            QCOMPARE(typed.seen[0].caption, QStringLiteral("Muldreth"));
            QCOMPARE(main.Names(), QStringList{"a.txt"});
        }
        {
            // Picked with Browse: the same text, and the folder field keeps what it had.
            main.Edit(IDC_FOLDER)->setText(folder.work.File("files"));
            QCOMPARE(main.Names(), QStringList{"a.txt"});
            WhenModalOpens([&](QWidget* modal) {
                auto* picker = qobject_cast<QFileDialog*>(modal);
                picker->setDirectory(folder.work.Path());
                picker->selectFile(QStringLiteral("locked"));
                QMetaObject::invokeMethod(picker, "accept");
            });
            BoxAnswerer browsed;
            main.Button(IDC_BROWSE)->click();
            QCOMPARE(browsed.seen.size(), 1);
            QCOMPARE(browsed.seen[0].text, QStringLiteral("アクセスが拒否されました。\r\n"));
            QCOMPARE(main.Edit(IDC_FOLDER)->text(), folder.work.File("files"));
        }
        {
            BoxAnswerer retyped;  // the locked folder in the field again, its rows not listed
            main.Edit(IDC_FOLDER)->setText(QFile::decodeName(locked));
            QCOMPARE(retyped.seen.size(), 1);
        }
        // A run now moves nothing: the rows are not of the folder the field names.
        main.Button(IDC_SELECT_ALL)->click();
        BoxAnswerer run;
        main.Button(IDC_START_RENAME)->click();
        QVERIFY(run.seen.size() >= 2);
        QCOMPARE(run.seen[1].text, kFailedText);
        QCOMPARE(Read(folder / "a.txt"), QByteArray("A"));
    }
    ::chmod(locked.constData(), 0755);
    QCOMPARE(Read(QFile::encodeName(folder.work.File("locked/inside.txt"))), QByteArray("I"));
}

FV_GUI_TEST_MAIN(FaultsTest)
#include "faults_test.moc"
