// The options dialog, the About box and the system menu that opens it.

#include <QCheckBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include "gui_support.h"

namespace {

QDialog* OpenDialogWithId(QWidget* modal, int id) {
    auto* dialog = qobject_cast<QDialog*>(modal);
    return dialog != nullptr && dialog->objectName() == QString::number(id) ? dialog : nullptr;
}

void CloseBy(QDialog* dialog, const QString& how) {
    if (how == "OK") {
        dialog->findChild<QPushButton*>(QString::number(IDOK))->click();
    } else if (how == "Cancel") {
        dialog->findChild<QPushButton*>(QString::number(IDCANCEL))->click();
    } else if (how == "Enter") {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : dialog,
                        Qt::Key_Return);
    } else if (how == "Esc") {
        QTest::keyClick(dialog, Qt::Key_Escape);
    } else {
        dialog->close();
    }
}

}  // namespace

class OptionsAboutTest : public QObject {
    Q_OBJECT
private slots:
    void optionsDialogSetsTheValueOnlyOnOk_data();
    void optionsDialogSetsTheValueOnlyOnOk();
    void optionsDialogLayout();
    void systemMenuEndsWithTheAboutCommand();
    void aboutOpensForEveryIdOfItsCommandAndClosesEveryWay_data();
    void aboutOpensForEveryIdOfItsCommandAndClosesEveryWay();
};

void OptionsAboutTest::optionsDialogSetsTheValueOnlyOnOk_data() {
    QTest::addColumn<int>("stored");
    QTest::addColumn<bool>("toggle");
    QTest::addColumn<QString>("close");
    QTest::addColumn<bool>("shownChecked");
    QTest::addColumn<int>("result");
    QTest::newRow("1, OK") << 1 << false << "OK" << true << 1;
    QTest::newRow("1, uncheck, OK") << 1 << true << "OK" << true << 0;
    QTest::newRow("0, check, Enter") << 0 << true << "Enter" << false << 1;
    QTest::newRow("0, check, Cancel") << 0 << true << "Cancel" << false << 0;
    QTest::newRow("1, uncheck, Esc") << 1 << true << "Esc" << true << 1;
    QTest::newRow("0, check, close box") << 0 << true << "close" << false << 0;
    QTest::newRow("2, OK") << 2 << false << "OK" << false << 0;
    QTest::newRow("2, check, Cancel") << 2 << true << "Cancel" << false << 2;
}

void OptionsAboutTest::optionsDialogSetsTheValueOnlyOnOk() {
    QFETCH(int, stored);
    QFETCH(bool, toggle);
    QFETCH(QString, close);
    QFETCH(bool, shownChecked);
    QFETCH(int, result);
    WorkingFolder work;
    QByteArray file = "[Config]\r\nSmallCheck=" + QByteArray::number(stored) + "\r\n";
    work.Write("FVanta.ini", file);
    {
        OpenMainDialog main;
        bool checkedOnOpen = !shownChecked;
        bool opened = false;
        WhenModalOpens([&](QWidget* modal) {
            QDialog* options = OpenDialogWithId(modal, IDD_SETTINGS);
            if (options == nullptr) {
                return;
            }
            opened = true;
            auto* box = options->findChild<QCheckBox*>(QString::number(IDC_LOWER_EXTENSION));
            checkedOnOpen = box->isChecked();
            if (toggle) {
                QTest::mouseClick(box, Qt::LeftButton);
            }
            CloseBy(options, close);
        });
        main.Button(IDC_SETTINGS)->click();
        QVERIFY(opened);
        QCOMPARE(checkedOnOpen, shownChecked);
        QCOMPARE(main.dialog.m_nSmallCheck, result);
        QCOMPARE(work.Read("FVanta.ini"), file);  // nothing saved before the end
    }
    QVERIFY(work.Read("FVanta.ini").contains("SmallCheck=" + QByteArray::number(result) + "\r\n"));
}

void OptionsAboutTest::optionsDialogLayout() {
    WorkingFolder work;
    OpenMainDialog main;
    QString caption, okText, cancelText, boxText;
    QWidget* focused = nullptr;
    QPoint offset;
    WhenModalOpens([&](QWidget* modal) {
        QDialog* options = OpenDialogWithId(modal, IDD_SETTINGS);
        caption = options->windowTitle();
        okText = options->findChild<QPushButton*>("1")->text();
        cancelText = options->findChild<QPushButton*>("2")->text();
        boxText = options->findChild<QCheckBox*>("1003")->text();
        focused = QApplication::focusWidget();
        offset = options->geometry().center() - DialogWidgetOf(main.dialog)->geometry().center();
        focused = focused == options->findChild<QPushButton*>("1") ? focused : nullptr;
        options->findChild<QPushButton*>("2")->click();
    });
    main.Button(IDC_SETTINGS)->click();
    QCOMPARE(caption, QStringLiteral("設定"));
    QCOMPARE(okText, QStringLiteral("OK"));
    QCOMPARE(cancelText, QStringLiteral("ｷｬﾝｾﾙ"));
    QCOMPARE(boxText, QStringLiteral("変換時に拡張子を小文字にする。"));
    QVERIFY(focused != nullptr);              // OK, the first tab stop
    QVERIFY(offset.manhattanLength() <= 40);  // centred over the main window
}

void OptionsAboutTest::systemMenuEndsWithTheAboutCommand() {
    WorkingFolder work;
    OpenMainDialog main;
    QStringList items;
    QStringList disabled;
    bool aboutOpened = false;
    QTimer::singleShot(50, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu != nullptr);
        for (QAction* action : menu->actions()) {
            items << (action->isSeparator() ? QStringLiteral("-") : action->text());
            if (!action->isEnabled()) {
                disabled << action->text();
            }
        }
        WhenModalOpens([&](QWidget* modal) {
            QDialog* about = OpenDialogWithId(modal, IDD_ABOUTBOX);
            aboutOpened = about != nullptr;
            if (about != nullptr) {
                QTest::keyClick(about, Qt::Key_Escape);
            }
        });
        QTest::keyClick(menu, Qt::Key_A);
    });
    main.Edit(IDC_FOLDER)->setFocus();
    QString before = main.Edit(IDC_FOLDER)->text();
    QTest::keyClick(main.Edit(IDC_FOLDER), Qt::Key_Space, Qt::AltModifier);
    QCOMPARE(main.Edit(IDC_FOLDER)->text(), before);  // the edit did not take the key
    QVERIFY(items.size() >= 2);
    QCOMPARE(items.mid(items.size() - 2),
             (QStringList{"-", QStringLiteral("Filvanta のﾊﾞｰｼﾞｮﾝ情報(&A)...")}));
    QVERIFY(disabled.contains(QStringLiteral("最大化(&X)")));
    QVERIFY(disabled.contains(QStringLiteral("サイズ変更(&S)")));
    QVERIFY(!disabled.contains(QStringLiteral("最小化(&N)")));
    QVERIFY(aboutOpened);
    QVERIFY(main.dialog.GetSafeHwnd() != nullptr);

    // A right-click on the dialog's free area opens the same menu.
    bool opened = false;
    QTimer::singleShot(50, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        opened = menu != nullptr && menu->actions().last()->text() == items.last();
        if (menu != nullptr) {
            menu->close();
        }
    });
    QWidget* window = DialogWidgetOf(main.dialog);
    QPoint free(window->width() - 3, 3);
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, free, window->mapToGlobal(free));
    QApplication::sendEvent(window, &rightClick);
    QVERIFY(opened);
}

void OptionsAboutTest::aboutOpensForEveryIdOfItsCommandAndClosesEveryWay_data() {
    QTest::addColumn<unsigned>("id");
    QTest::addColumn<QString>("close");
    QTest::newRow("0x10, OK") << 0x10u << "OK";
    QTest::newRow("0x11, Enter") << 0x11u << "Enter";
    QTest::newRow("0x1F, Esc") << 0x1Fu << "Esc";
    QTest::newRow("0x18, close box") << 0x18u << "close";
}

void OptionsAboutTest::aboutOpensForEveryIdOfItsCommandAndClosesEveryWay() {
    QFETCH(unsigned, id);
    QFETCH(QString, close);
    WorkingFolder work;
    OpenMainDialog main;
    main.Edit(IDC_PREFIX)->setText("kept");
    QString caption;
    QStringList labels;
    bool hasIcon = false;
    WhenModalOpens([&](QWidget* modal) {
        QDialog* about = OpenDialogWithId(modal, IDD_ABOUTBOX);
        QVERIFY(about != nullptr);
        caption = about->windowTitle();
        for (QLabel* label : about->findChildren<QLabel*>()) {
            if (!label->pixmap().isNull()) {
                hasIcon = true;
            } else {
                labels << label->text();
            }
        }
        CloseBy(about, close);
    });
    main.dialog.SendMessage(WM_SYSCOMMAND, id, 0);
    QCOMPARE(caption, QStringLiteral("Filvantaのﾊﾞｰｼﾞｮﾝ情報"));
    QVERIFY(hasIcon);
    QCOMPARE(labels.value(0), QStringLiteral("Filvanta Version 2.0"));
    QVERIFY(main.dialog.GetSafeHwnd() != nullptr);
    QCOMPARE(main.Edit(IDC_PREFIX)->text(), QStringLiteral("kept"));
}

FV_GUI_TEST_MAIN(OptionsAboutTest)
#include "options_about_test.moc"
