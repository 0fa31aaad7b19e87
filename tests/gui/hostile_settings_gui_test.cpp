// The main window on settings files it did not write: it starts, shows what it can read or the
// defaults, and its save at the end leaves a file whose six keys read back as shown.

#include <QDir>
#include <QLineEdit>
#include <QPushButton>

#include "gui_support.h"
#include "platform/profile.h"

namespace {

QByteArray Utf16File(const QString& text) {
    QByteArray bytes("\xFF\xFE");
    for (QChar c : text) {
        bytes += static_cast<char>(c.unicode() & 0xFF);
        bytes += static_cast<char>(c.unicode() >> 8);
    }
    return bytes;
}

QByteArray RandomBytes(int count) {
    QByteArray bytes(count, '\0');
    quint32 state = 20240611;
    for (char& c : bytes) {
        state = state * 1664525u + 1013904223u;
        c = static_cast<char>(state >> 24);
    }
    return bytes;
}

QString ReadString(const QByteArray& path, const char* section, const char* key) {
    return QString::fromUtf8(ProfileGetString(path.constData(), section, key, "<absent>").View());
}

}  // namespace

class HostileSettingsGuiTest : public QObject {
    Q_OBJECT
private slots:
    void startsShowsWhatItCanReadAndSavesASoundFile_data();
    void startsShowsWhatItCanReadAndSavesASoundFile();
    void folderInPlaceOfTheFileGivesDefaultsAndStays();
};

void HostileSettingsGuiTest::startsShowsWhatItCanReadAndSavesASoundFile_data() {
    // "%1" stands for the working folder in the file and in the folder shown.
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("utf16");  // the file is saved in UTF-16LE with its mark
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("startNumber");
    QTest::addColumn<QString>("filter");
    const QString here = QStringLiteral("%1");
    const QByteArray megabyte(1 << 20, 'p');
    QByteArray sections;
    for (int i = 0; i < 5000; ++i) {
        sections += "[S" + QByteArray::number(i) + "]\r\nPrefix=" + QByteArray::number(i) + "\r\n";
    }
    QTest::newRow("binary bytes") << RandomBytes(1 << 16) << false << "" << here << "001"
                                  << "*.*";
    QTest::newRow("NUL in a value")
        << QByteArray("[Data]\r\nPrefix=a\0b\r\n", 21) << false << "a" << here << "001"
        << "*.*";
    QTest::newRow("lines of a megabyte")
        << "[Keep]\r\nk=" + megabyte + "\r\n[Data]\r\nPrefix=" + megabyte + "\r\n"
        << false << QString(4095, 'p') << here << "001"
        << "*.*";
    QTest::newRow("thousands of sections") << sections + "[Data]\r\nStartNumber=0100\r\n"
                                           << false << "" << here << "0100"
                                           << "*.*";
    QTest::newRow("no final line break")
        << QByteArray("[Data]\r\nKaku=*.txt") << false << "" << here << "001"
        << "*.txt";
    QTest::newRow("UTF-16LE with its mark")
        << QByteArray("[Data]\r\nFolder=%1\r\nPrefix=旅行_\r\n") << true << "旅行_" << here << "001"
        << "*.*";
}

void HostileSettingsGuiTest::startsShowsWhatItCanReadAndSavesASoundFile() {
    QFETCH(QByteArray, file);
    QFETCH(bool, utf16);
    QFETCH(QString, prefix);
    QFETCH(QString, folder);
    QFETCH(QString, startNumber);
    QFETCH(QString, filter);
    WorkingFolder working;
    file.replace("%1", working.Path().toUtf8());
    folder = folder.arg(working.Path());
    working.Write("FVanta.ini", utf16 ? Utf16File(QString::fromUtf8(file)) : file);
    BoxAnswerer boxes;
    {
        OpenMainDialog main;
        QVERIFY(main.dialog.GetSafeHwnd() != nullptr);
        QCOMPARE(main.Edit(IDC_FOLDER)->text(), folder);
        QCOMPARE(main.Edit(IDC_PREFIX)->text(), prefix);
        QCOMPARE(main.Edit(IDC_START_NUMBER)->text(), startNumber);
        QCOMPARE(main.Edit(IDC_FILTER)->text(), filter);
        main.Button(IDC_EXIT)->click();
        QVERIFY(main.dialog.GetSafeHwnd() == nullptr);
    }
    QVERIFY(boxes.seen.isEmpty());
    const QByteArray path = working.File("FVanta.ini").toUtf8();
    QCOMPARE(ProfileGetInt(path.constData(), "Application", "Version", 0), 20);
    QCOMPARE(ReadString(path, "Data", "Folder"), folder);
    QCOMPARE(ReadString(path, "Data", "Prefix"), prefix);
    QCOMPARE(ReadString(path, "Data", "StartNumber"), startNumber);
    QCOMPARE(ReadString(path, "Data", "Kaku"), filter);
    QCOMPARE(ProfileGetInt(path.constData(), "Config", "SmallCheck", 0), 1);
    if (file.startsWith("[Keep]")) {
        QCOMPARE(ReadString(path, "Keep", "k").size(), 4095);
    }
    QCOMPARE(QDir(working.Path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

void HostileSettingsGuiTest::folderInPlaceOfTheFileGivesDefaultsAndStays() {
    WorkingFolder working;
    QVERIFY(QDir(working.Path()).mkdir(QStringLiteral("FVanta.ini")));
    BoxAnswerer boxes;
    {
        OpenMainDialog main;
        QCOMPARE(main.Edit(IDC_FOLDER)->text(), working.Path());
        QCOMPARE(main.Edit(IDC_PREFIX)->text(), QString());
        QCOMPARE(main.Edit(IDC_START_NUMBER)->text(), QStringLiteral("001"));
        QCOMPARE(main.Edit(IDC_FILTER)->text(), QStringLiteral("*.*"));
        QCOMPARE(main.dialog.m_nSmallCheck, 1);
        main.Edit(IDC_PREFIX)->setText(QStringLiteral("lost_"));
        main.Button(IDC_EXIT)->click();
        QVERIFY(main.dialog.GetSafeHwnd() == nullptr);
    }
    QVERIFY(boxes.seen.isEmpty());
    QVERIFY(QFileInfo(working.File("FVanta.ini")).isDir());
    QVERIFY(QDir(working.File("FVanta.ini")).isEmpty());
    QCOMPARE(QDir(working.Path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{QStringLiteral("FVanta.ini")});
}

FV_GUI_TEST_MAIN(HostileSettingsGuiTest)
#include "hostile_settings_gui_test.moc"
