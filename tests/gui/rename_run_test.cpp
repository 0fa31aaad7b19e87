// The rename run: confirmation, the walk in list order, the first failed move ending it, the
// relist, and that no run loses or overwrites a file.

#include <QDir>
#include <QDirIterator>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>

#include <map>
#include <set>

#include "gui_support.h"
#include "rename/naming_rule.h"

namespace {

void Write(const QString& path, const QByteArray& content) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

// Every file below folder, by relative path, with its content; folders as "<dir>".
std::map<QString, QByteArray> Snapshot(const QString& folder) {
    std::map<QString, QByteArray> files;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QString path = it.next();
        QString relative = QDir(folder).relativeFilePath(path);
        if (QFileInfo(path).isDir()) {
            files[relative] = "<dir>";
        } else {
            QFile file(path);
            file.open(QIODevice::ReadOnly);
            files[relative] = file.readAll();
        }
    }
    return files;
}

// A folder of its own for the files (the settings file lives in the working folder).
struct PhotoFolder {
    WorkingFolder work;
    QString path;
    explicit PhotoFolder(const QStringList& names) : path(work.File("photos")) {
        QDir().mkpath(path);
        for (const QString& name : names) {
            Write(path + "/" + name, ("content of " + name).toUtf8());
        }
        work.Write("FVanta.ini", ("[Data]\r\nFolder=" + path + "\r\n").toUtf8());
    }
    QStringList Files() const { return QDir(path).entryList(QDir::Files, QDir::Name); }
};

void Select(OpenMainDialog& main, std::initializer_list<int> rows) {
    for (int row : rows) {
        main.dialog.m_list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    }
}

const QString kConfirmText = QStringLiteral("ファイル名を変更します。よろしいですか？");
const QString kFailedText = QStringLiteral("既に同名のファイル名がフォルダ内に存在します。");

}  // namespace

class RenameRunTest : public QObject {
    Q_OBJECT
private slots:
    void renamesSelectedRowsInListOrder();
    void firstMoveFailingChangesNothing();
    void aTakenNameInTheMiddleEndsTheWalk();
    void cancelAndNoSelectionDoNothing();
    void numbersWrapAtTheLimitAndExtensionsLowerOnlyForOne();
    void movesOnlyOutOfTheListedFolder_data();
    void movesOnlyOutOfTheListedFolder();
    void randomRunsLoseNothing();
};

void RenameRunTest::renamesSelectedRowsInListOrder() {
    PhotoFolder photos({"a.JPG", "b.txt", "c.png", "d", "e.txt", "f.tar.gz"});
    OpenMainDialog main;
    QCOMPARE(main.Names(), (QStringList{"a.JPG", "b.txt", "c.png", "d", "e.txt", "f.tar.gz"}));
    main.Edit(IDC_PREFIX)->setText("p");
    main.Edit(IDC_START_NUMBER)->setText("01");
    Select(main, {0, 2, 5});
    BoxAnswerer answers;
    main.Button(IDC_START_RENAME)->click();
    QCOMPARE(answers.seen.size(), 1);
    QCOMPARE(answers.seen[0].caption, QStringLiteral("確認"));
    QCOMPARE(answers.seen[0].text, kConfirmText);
    QCOMPARE(answers.seen[0].icon, QMessageBox::Information);
    QCOMPARE(answers.seen[0].buttons, (QStringList{"OK", "キャンセル"}));
    QCOMPARE(photos.Files(), (QStringList{"b.txt", "d", "e.txt", "p01.jpg", "p02.png", "p03.gz"}));
    QCOMPARE(Snapshot(photos.path)["p01.jpg"], QByteArray("content of a.JPG"));
    // The relist: the folder path with its separator, sorted by name, nothing selected.
    QCOMPARE(main.Edit(IDC_FOLDER)->text(), photos.path + "\\");
    QCOMPARE(main.Names(), (QStringList{"b.txt", "d", "e.txt", "p01.jpg", "p02.png", "p03.gz"}));
    QCOMPARE(main.Selected(), QList<int>{});
    QCOMPARE(main.Edit(IDC_START_NUMBER)->text(), QStringLiteral("01"));
}

void RenameRunTest::firstMoveFailingChangesNothing() {
    PhotoFolder photos({"1.txt", "2.txt"});
    OpenMainDialog main;
    Select(main, {0});
    main.Button(IDC_MOVE_DOWN)->click();  // 2.txt, 1.txt
    Select(main, {0, 1});
    main.Edit(IDC_START_NUMBER)->setText("1");
    auto before = Snapshot(photos.path);
    BoxAnswerer answers;
    main.Button(IDC_START_RENAME)->click();
    QCOMPARE(answers.seen.size(), 2);
    QCOMPARE(answers.seen[1].caption, QStringLiteral("Filvanta"));
    QCOMPARE(answers.seen[1].text, kFailedText);
    QCOMPARE(answers.seen[1].icon, QMessageBox::Critical);
    QCOMPARE(answers.seen[1].buttons, QStringList{"OK"});
    QCOMPARE(Snapshot(photos.path), before);
    QCOMPARE(main.Names(), (QStringList{"1.txt", "2.txt"}));  // relisted all the same
}

void RenameRunTest::aTakenNameInTheMiddleEndsTheWalk() {
    PhotoFolder photos({"a.txt", "b.txt", "c.txt", "x002.txt"});
    OpenMainDialog main;
    main.Edit(IDC_PREFIX)->setText("x");
    Select(main, {0, 1, 2});
    BoxAnswerer answers;
    main.Button(IDC_START_RENAME)->click();
    QCOMPARE(answers.seen.size(), 2);
    QCOMPARE(photos.Files(), (QStringList{"b.txt", "c.txt", "x001.txt", "x002.txt"}));
    QCOMPARE(Snapshot(photos.path)["x002.txt"], QByteArray("content of x002.txt"));
    QCOMPARE(main.Names(), photos.Files());
}

void RenameRunTest::cancelAndNoSelectionDoNothing() {
    PhotoFolder photos({"a.txt", "b.txt"});
    OpenMainDialog main;
    {
        BoxAnswerer answers;
        main.Button(IDC_START_RENAME)->click();
        QCOMPARE(answers.seen.size(), 1);
        QCOMPARE(answers.seen[0].caption, QStringLiteral("Muldreth"));
    }
    Select(main, {1});
    main.Edit(IDC_FOLDER)->blockSignals(true);
    main.Edit(IDC_FOLDER)->setText("/typed/but/not/read");
    main.Edit(IDC_FOLDER)->blockSignals(false);
    {
        BoxAnswerer answers(QStringLiteral("確認"));
        main.Button(IDC_START_RENAME)->click();
        QCOMPARE(answers.seen.size(), 1);
    }
    QCOMPARE(photos.Files(), (QStringList{"a.txt", "b.txt"}));
    QCOMPARE(main.Selected(), QList<int>{1});                                      // not relisted
    QCOMPARE(main.dialog.m_strFolder, CString(photos.path.toUtf8().constData()));  // not read
}

void RenameRunTest::numbersWrapAtTheLimitAndExtensionsLowerOnlyForOne() {
    PhotoFolder photos({"a.JPG", "b.JPG"});
    photos.work.Write(
        "FVanta.ini",
        ("[Data]\r\nFolder=" + photos.path + "\r\n[Config]\r\nSmallCheck=2\r\n").toUtf8());
    OpenMainDialog main;
    main.Edit(IDC_START_NUMBER)->setText("2147483647");
    Select(main, {0, 1});
    BoxAnswerer answers;
    main.Button(IDC_START_RENAME)->click();
    QCOMPARE(photos.Files(), (QStringList{"-2147483648.JPG", "2147483647.JPG"}));
}

void RenameRunTest::movesOnlyOutOfTheListedFolder_data() {
    QTest::addColumn<QString>("change");
    QTest::newRow("another folder typed") << "typed";
    QTest::newRow("folder field emptied") << "empty";
    QTest::newRow("filter with a folder part") << "filter";
}

void RenameRunTest::movesOnlyOutOfTheListedFolder() {
    QFETCH(QString, change);
    PhotoFolder photos({"a.txt"});
    QDir(photos.path).mkdir("sub");
    Write(photos.path + "/sub/a.txt", "inner");
    QDir(photos.path).mkdir("other");
    Write(photos.path + "/other/a.txt", "other");
    OpenMainDialog main;
    if (change == "typed") {
        // A folder that exists but was never listed: its files were never shown.
        main.Edit(IDC_FOLDER)->blockSignals(true);
        main.Edit(IDC_FOLDER)->setText(photos.path + "/other");
        main.Edit(IDC_FOLDER)->blockSignals(false);
    } else if (change == "empty") {
        main.Edit(IDC_FOLDER)->clear();  // the rows stay, the field is empty
    } else {
        main.Edit(IDC_FILTER)->setText("sub/*.txt");
    }
    QCOMPARE(main.Names(), QStringList{"a.txt"});
    Select(main, {0});
    main.Edit(IDC_PREFIX)->setText("n");
    auto before = Snapshot(photos.path);
    BoxAnswerer answers;
    main.Button(IDC_START_RENAME)->click();
    QCOMPARE(Snapshot(photos.path), before);
    QVERIFY(answers.seen.size() >= 2);
    QCOMPARE(answers.seen[1].text, kFailedText);
    int failures = 0;
    for (const SeenBox& box : answers.seen) {
        failures += box.text == kFailedText ? 1 : 0;
    }
    QCOMPARE(failures, 1);
}

void RenameRunTest::randomRunsLoseNothing() {
    QRandomGenerator random(20261211);
    const QStringList pool{"a.txt",  "b.TXT", "p1.txt", "p01.jpg", "p2.txt", "c.jpg",
                           "p3.txt", "1.txt", "2.txt",  "03",      ".hidden"};
    const QStringList prefixes{"p", "", "sub\\", "missing\\", "q"};
    const QStringList starts{"1", "01", "0", "-1", "abc", "3"};
    for (int round = 0; round < 40; ++round) {
        QStringList names;
        for (const QString& name : pool) {
            if (random.bounded(2) == 0) {
                names << name;
            }
        }
        PhotoFolder photos(names);
        if (random.bounded(2) == 0) {
            QDir(photos.path).mkdir("sub");
        }
        if (random.bounded(3) == 0) {
            QDir(photos.path).mkdir(QStringLiteral("p%1.txt").arg(random.bounded(1, 3)));
        }
        OpenMainDialog main;
        QStringList rows = main.Names();
        if (rows.isEmpty()) {
            continue;
        }
        for (int row = 0; row < rows.size(); ++row) {
            if (random.bounded(2) == 0) {
                main.dialog.m_list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
            }
        }
        for (int moves = random.bounded(4); moves > 0 && !main.Selected().isEmpty(); --moves) {
            main.Button(random.bounded(2) == 0 ? IDC_MOVE_UP : IDC_MOVE_DOWN)->click();
        }
        QString prefix = prefixes[random.bounded(prefixes.size())];
        QString start = starts[random.bounded(starts.size())];
        main.Edit(IDC_PREFIX)->setText(prefix);
        main.Edit(IDC_START_NUMBER)->setText(start);

        // The model: moves in list order into names that are free, up to the first that is not.
        std::map<QString, QByteArray> expected = Snapshot(photos.path);
        QStringList order = main.Names();
        StartNumber number = ParseStartNumber(start.toUtf8().constData());
        auto value = static_cast<unsigned>(number.value);
        for (int row : main.Selected()) {
            RenamePaths paths =
                MakeRenamePaths("", prefix.toUtf8().constData(), number.width,
                                static_cast<int>(value++), order[row].toUtf8().constData(), 1);
            QString target = QString::fromUtf8(paths.newPath.GetString()).replace('\\', '/');
            QString parent = QFileInfo(target).path();
            auto folder = expected.find(parent);
            bool parentIsFolder =
                parent == "." || (folder != expected.end() && folder->second == "<dir>");
            if (expected.count(target) != 0 || !parentIsFolder) {
                break;
            }
            expected[target] = expected[order[row]];
            expected.erase(order[row]);
        }

        BoxAnswerer answers;
        main.Button(IDC_START_RENAME)->click();
        QCOMPARE(Snapshot(photos.path), expected);
    }
}

FV_GUI_TEST_MAIN(RenameRunTest)
#include "rename_run_test.moc"
