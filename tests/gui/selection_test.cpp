// Selecting rows and moving the selected ones up and down.

#include <QLineEdit>
#include <QPushButton>

#include "gui_support.h"

namespace {

struct MoveCase {
    const char* name;
    QStringList rows;
    QList<int> selected;
    int button;
    QStringList after;
    QString focused;  // the row holding the focus afterwards
};

}  // namespace

class SelectionTest : public QObject {
    Q_OBJECT
private slots:
    void movesFollowTheWalk_data();
    void movesFollowTheWalk();
    void noSelectionWarnsAndChangesNothing();
    void selectAllKeepsTheFocusAndClearAllDropsIt();
    void aSortAfterMovesOrdersEveryRow();
};

void SelectionTest::movesFollowTheWalk_data() {
    QTest::addColumn<int>("index");
    QTest::newRow("up: separate blocks") << 0;
    QTest::newRow("up: leading run stays") << 1;
    QTest::newRow("down: separate blocks") << 2;
    QTest::newRow("down: trailing run stays") << 3;
    QTest::newRow("up: only row 0") << 4;
    QTest::newRow("down: only the last row") << 5;
    QTest::newRow("up: all rows") << 6;
    QTest::newRow("down: adjacent pair") << 7;
}

void SelectionTest::movesFollowTheWalk() {
    QFETCH(int, index);
    const QStringList six{"P", "Q", "R", "S", "T", "U"};
    const QStringList five{"P", "Q", "R", "S", "T"};
    const MoveCase cases[] = {
        {"1", six, {1, 3, 4}, IDC_MOVE_UP, {"Q", "P", "S", "T", "R", "U"}, "T"},
        {"2", five, {0, 1, 3, 4}, IDC_MOVE_UP, {"P", "Q", "S", "T", "R"}, "T"},
        {"3", six, {1, 3, 4}, IDC_MOVE_DOWN, {"P", "R", "Q", "U", "S", "T"}, "Q"},
        {"4", five, {1, 3, 4}, IDC_MOVE_DOWN, {"P", "R", "Q", "S", "T"}, "Q"},
        {"5", five, {0}, IDC_MOVE_UP, five, ""},
        {"6", five, {4}, IDC_MOVE_DOWN, five, ""},
        {"7", five, {0, 1, 2, 3, 4}, IDC_MOVE_UP, five, ""},
        {"8", five, {1, 2}, IDC_MOVE_DOWN, {"P", "S", "Q", "R", "T"}, "Q"},
    };
    const MoveCase& c = cases[index];
    WorkingFolder work;
    OpenMainDialog main;
    main.SetRows(c.rows);
    for (int row : c.selected) {
        main.dialog.m_list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    }
    main.Button(c.button)->click();
    QCOMPARE(main.Names(), c.after);
    QStringList selectedNames;
    for (int row : main.Selected()) {
        selectedNames << main.Names().at(row);
    }
    QStringList expectedSelected;
    for (int row : c.selected) {
        expectedSelected << c.rows.at(row);
    }
    QCOMPARE(selectedNames, expectedSelected);  // same set, same order among themselves
    int focused = -1;
    for (int row = 0; row < main.dialog.m_list.GetItemCount(); ++row) {
        if (main.dialog.m_list.GetItemState(row, LVIS_FOCUSED)) {
            focused = row;
        }
    }
    QCOMPARE(focused == -1 ? QString() : main.Names().at(focused), c.focused);
    for (int row = 0; row < main.dialog.m_list.GetItemCount(); ++row) {
        QCOMPARE(main.Time(row), "t-" + main.Names().at(row));  // texts travel whole
    }
    QCOMPARE(QApplication::focusWidget(), Control(main.dialog, IDC_FILE_LIST));
}

void SelectionTest::noSelectionWarnsAndChangesNothing() {
    WorkingFolder work;
    OpenMainDialog main;
    for (const QStringList& rows : {QStringList{}, QStringList{"a", "b"}}) {
        main.SetRows(rows);
        for (int button : {IDC_MOVE_UP, IDC_MOVE_DOWN}) {
            main.Edit(IDC_PREFIX)->setFocus();
            BoxAnswerer answers;
            main.Button(button)->click();
            QCOMPARE(answers.seen.size(), 1);
            QCOMPARE(answers.seen[0].caption, QStringLiteral("Muldreth"));
            QCOMPARE(
                answers.seen[0].text,
                QStringLiteral(
                    "ファイルが選択されていません。\nファイルを選択してから操作を行って下さい。"));
            QCOMPARE(answers.seen[0].icon, QMessageBox::Warning);
            QCOMPARE(answers.seen[0].buttons, QStringList{"OK"});
            QCOMPARE(main.Names(), rows);
            QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(main.Edit(IDC_PREFIX)));
        }
    }
}

void SelectionTest::selectAllKeepsTheFocusAndClearAllDropsIt() {
    WorkingFolder work;
    OpenMainDialog main;
    main.SetRows({"a", "b", "c"});
    main.dialog.m_list.SetItemState(1, LVIS_FOCUSED, LVIS_FOCUSED);
    main.Button(IDC_SELECT_ALL)->click();
    QCOMPARE(main.Selected(), (QList<int>{0, 1, 2}));
    QCOMPARE(main.dialog.m_list.GetItemState(1, LVIS_FOCUSED), LVIS_FOCUSED);
    QCOMPARE(QApplication::focusWidget(), Control(main.dialog, IDC_FILE_LIST));
    main.Button(IDC_CLEAR_ALL)->click();
    QCOMPARE(main.Selected(), QList<int>{});
    QCOMPARE(main.dialog.m_list.GetItemState(1, LVIS_FOCUSED), 0u);
    main.SetRows({});
    main.Edit(IDC_PREFIX)->setFocus();
    main.Button(IDC_SELECT_ALL)->click();
    QCOMPARE(QApplication::focusWidget(), Control(main.dialog, IDC_FILE_LIST));
}

void SelectionTest::aSortAfterMovesOrdersEveryRow() {
    WorkingFolder work;
    OpenMainDialog main;
    main.SetRows({"a", "b", "c", "d"});
    main.dialog.m_list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
    main.dialog.m_list.SetItemState(3, LVIS_SELECTED, LVIS_SELECTED);
    main.Button(IDC_MOVE_UP)->click();
    main.Button(IDC_MOVE_UP)->click();
    QCOMPARE(main.Names(), (QStringList{"c", "d", "a", "b"}));
    main.ClickHeader(0);  // descending: the moved rows carry item data 0, the click restamps
    QCOMPARE(main.Names(), (QStringList{"d", "c", "b", "a"}));
    main.ClickHeader(0);
    QCOMPARE(main.Names(), (QStringList{"a", "b", "c", "d"}));
    QCOMPARE(main.Selected(), (QList<int>{2, 3}));
}

FV_GUI_TEST_MAIN(SelectionTest)
#include "selection_test.moc"
