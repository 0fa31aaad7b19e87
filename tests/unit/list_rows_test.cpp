#include "platform/list_rows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr UINT kBoth = LVIS_SELECTED | LVIS_FOCUSED;

ListRows RowsOf(std::initializer_list<const char*> texts) {
    ListRows rows;
    for (const char* text : texts) {
        rows.Insert(-1, text);
    }
    return rows;
}

std::vector<std::string> Column0(const ListRows& rows) {
    std::vector<std::string> texts;
    for (int i = 0; i < rows.Count(); ++i) {
        texts.emplace_back(rows.Text(i, 0).View());
    }
    return texts;
}

using Texts = std::vector<std::string>;

TEST(ListRowsTest, InsertPlacesTheRowAndReturnsItsIndex) {
    struct Case {
        int index;
        int expected;
        Texts order;
    };
    const Case cases[] = {
        {0, 0, {"new", "a", "b"}},  {1, 1, {"a", "new", "b"}},  {2, 2, {"a", "b", "new"}},
        {3, 2, {"a", "b", "new"}},  {-1, 2, {"a", "b", "new"}}, {-7, 2, {"a", "b", "new"}},
        {99, 2, {"a", "b", "new"}},
    };
    for (const Case& c : cases) {
        ListRows rows = RowsOf({"a", "b"});
        EXPECT_EQ(rows.Insert(c.index, "new"), c.expected) << c.index;
        EXPECT_EQ(Column0(rows), c.order) << c.index;
        EXPECT_EQ(rows.Text(c.expected, 1), "");
        EXPECT_EQ(rows.State(c.expected, ~0u), 0u);
        EXPECT_EQ(rows.Data(c.expected), 0);
    }
}

TEST(ListRowsTest, DeleteMovesLaterRowsUp) {
    ListRows rows = RowsOf({"a", "b", "c", "d"});
    rows.SetText(2, 1, "c1");
    rows.SetData(3, 44);
    EXPECT_TRUE(rows.Delete(1));
    EXPECT_EQ(Column0(rows), (Texts{"a", "c", "d"}));
    EXPECT_EQ(rows.Text(1, 1), "c1");
    EXPECT_EQ(rows.Data(2), 44);
    EXPECT_TRUE(rows.Delete(2));
    EXPECT_TRUE(rows.Delete(0));
    EXPECT_EQ(Column0(rows), (Texts{"c"}));
    for (int bad : {-1, 1, 5}) {
        EXPECT_FALSE(rows.Delete(bad)) << bad;
    }
    EXPECT_EQ(rows.Count(), 1);
}

TEST(ListRowsTest, BadRowOrColumnReadsEmptyAndRefusesChanges) {
    ListRows rows = RowsOf({"a"});
    rows.SetState(0, kBoth, kBoth);
    rows.SetData(0, 7);
    const unsigned long revision = rows.Revision();
    struct Cell {
        int row;
        int column;
    };
    for (const Cell& c : {Cell{-1, 0}, Cell{1, 0}, Cell{0, 2}, Cell{0, -1}}) {
        EXPECT_EQ(rows.Text(c.row, c.column), "") << c.row << "," << c.column;
        EXPECT_FALSE(rows.SetText(c.row, c.column, "x")) << c.row << "," << c.column;
    }
    for (int bad : {-2, 1, 100}) {
        EXPECT_EQ(rows.State(bad, ~0u), 0u) << bad;
        EXPECT_FALSE(rows.SetState(bad, kBoth, kBoth)) << bad;
        EXPECT_EQ(rows.Data(bad), 0) << bad;
        EXPECT_FALSE(rows.SetData(bad, 1)) << bad;
    }
    EXPECT_EQ(rows.Revision(), revision);
    EXPECT_EQ(rows.Text(0, 0), "a");
    EXPECT_EQ(rows.State(0, kBoth), kBoth);
}

TEST(ListRowsTest, StateTakesOnlyTheMaskedBits) {
    ListRows rows = RowsOf({"a"});
    rows.SetState(0, kBoth, kBoth);
    rows.SetState(0, 0, LVIS_SELECTED);
    EXPECT_EQ(rows.State(0, kBoth), LVIS_FOCUSED);
    rows.SetState(0, LVIS_SELECTED, LVIS_SELECTED);
    rows.SetState(0, 0, LVIS_FOCUSED);
    EXPECT_EQ(rows.State(0, kBoth), LVIS_SELECTED);
    EXPECT_EQ(rows.State(0, LVIS_FOCUSED), 0u);
    rows.SetState(0, kBoth, 0);
    EXPECT_EQ(rows.State(0, kBoth), LVIS_SELECTED);
}

TEST(ListRowsTest, FocusIsOneRowAndFollowsItThroughInsertAndDelete) {
    ListRows rows = RowsOf({"a", "b", "c", "d"});
    rows.SetState(0, LVIS_FOCUSED, LVIS_FOCUSED);
    rows.SetState(2, LVIS_FOCUSED, LVIS_FOCUSED);
    EXPECT_EQ(rows.FocusedRow(), 2);
    EXPECT_EQ(rows.State(0, LVIS_FOCUSED), 0u);
    EXPECT_EQ(rows.State(2, LVIS_FOCUSED), LVIS_FOCUSED);

    rows.Insert(0, "top");  // c is now row 3
    EXPECT_EQ(rows.FocusedRow(), 3);
    rows.Insert(3, "x");  // inserted at c's place: c moves down
    EXPECT_EQ(rows.FocusedRow(), 4);
    rows.Insert(5, "y");
    EXPECT_EQ(rows.FocusedRow(), 4);
    rows.Delete(1);
    EXPECT_EQ(rows.FocusedRow(), 3);
    EXPECT_EQ(rows.Text(3, 0), "c");
    rows.Delete(4);
    EXPECT_EQ(rows.FocusedRow(), 3);

    rows.Delete(3);
    EXPECT_EQ(rows.FocusedRow(), -1);
    for (int i = 0; i < rows.Count(); ++i) {
        EXPECT_EQ(rows.State(i, LVIS_FOCUSED), 0u) << i;
    }
    rows.Insert(0, "z");
    EXPECT_EQ(rows.FocusedRow(), -1);
}

TEST(ListRowsTest, SelectedCountFollowsEveryChange) {
    ListRows rows = RowsOf({"a", "b", "c", "d", "e"});
    rows.SetState(-1, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(rows.SelectedCount(), 5);
    rows.SetState(1, LVIS_SELECTED, LVIS_SELECTED);  // already selected
    EXPECT_EQ(rows.SelectedCount(), 5);
    rows.SetState(1, 0, LVIS_SELECTED);
    rows.SetState(1, 0, LVIS_SELECTED);
    EXPECT_EQ(rows.SelectedCount(), 4);
    rows.Delete(0);  // selected
    rows.Delete(0);  // the one not selected
    EXPECT_EQ(rows.SelectedCount(), 3);
    rows.Insert(0, "new");
    EXPECT_EQ(rows.SelectedCount(), 3);
    rows.SetState(-1, 0, LVIS_SELECTED);
    EXPECT_EQ(rows.SelectedCount(), 0);
    EXPECT_EQ(rows.NextSelected(-1), -1);
    rows.SetState(-1, LVIS_SELECTED, LVIS_SELECTED);
    rows.DeleteAll();
    EXPECT_EQ(rows.SelectedCount(), 0);
    EXPECT_EQ(rows.Count(), 0);
    rows.Insert(0, "again");
    EXPECT_EQ(rows.SelectedCount(), 0);
    EXPECT_EQ(rows.State(0, ~0u), 0u);
}

TEST(ListRowsTest, StateOfEveryRowKeepsOrClearsTheFocusButNeverSpreadsIt) {
    ListRows rows = RowsOf({"a", "b", "c"});
    rows.SetState(1, LVIS_FOCUSED, LVIS_FOCUSED);
    EXPECT_TRUE(rows.SetState(-1, LVIS_SELECTED, LVIS_SELECTED));
    EXPECT_EQ(rows.FocusedRow(), 1);

    EXPECT_FALSE(rows.SetState(-1, kBoth, kBoth));
    EXPECT_EQ(rows.FocusedRow(), 1);
    EXPECT_EQ(rows.SelectedCount(), 3);

    EXPECT_TRUE(rows.SetState(-1, 0, kBoth));
    EXPECT_EQ(rows.FocusedRow(), -1);
    EXPECT_EQ(rows.SelectedCount(), 0);

    ListRows empty;
    EXPECT_TRUE(empty.SetState(-1, 0, kBoth));
}

TEST(ListRowsTest, NextSelectedLooksOnlyAfterTheStart) {
    ListRows rows = RowsOf({"a", "b", "c", "d", "e", "f"});
    for (int row : {0, 3, 4}) {
        rows.SetState(row, LVIS_SELECTED, LVIS_SELECTED);
    }
    struct Case {
        int start;
        int expected;
    };
    for (const Case& c :
         {Case{-1, 0}, Case{0, 3}, Case{1, 3}, Case{3, 4}, Case{4, -1}, Case{5, -1}, Case{9, -1}}) {
        EXPECT_EQ(rows.NextSelected(c.start), c.expected) << c.start;
    }
    std::vector<int> walked;
    for (int i = rows.NextSelected(-1); i != -1; i = rows.NextSelected(i)) {
        walked.push_back(i);
    }
    EXPECT_EQ(walked, (std::vector<int>{0, 3, 4}));
}

TEST(ListRowsTest, RevisionMovesOnEveryChange) {
    ListRows rows;
    unsigned long last = rows.Revision();
    auto changed = [&] {
        const bool moved = rows.Revision() != last;
        last = rows.Revision();
        return moved;
    };
    rows.Insert(0, "a");
    EXPECT_TRUE(changed());
    rows.Insert(0, "b");
    EXPECT_TRUE(changed());
    rows.SetText(0, 1, "t");
    EXPECT_TRUE(changed());
    rows.SetState(0, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_TRUE(changed());
    rows.SetData(0, 1);
    EXPECT_TRUE(changed());
    rows.Sort([](LPARAM a, LPARAM b) { return a < b ? -1 : a > b ? 1 : 0; });
    EXPECT_TRUE(changed());
    rows.Text(0, 0);
    rows.NextSelected(-1);
    EXPECT_FALSE(changed());
    rows.Delete(0);
    EXPECT_TRUE(changed());
    rows.DeleteAll();
    EXPECT_TRUE(changed());
}

// The program stamps every row's data with its index, then reads texts by that index inside the
// callback; the rows must not move under it.
TEST(ListRowsTest, SortCallbackReadsRowsInTheirPreSortOrder) {
    const Texts names = {"d", "b", "a", "c", "b", "a"};
    ListRows rows;
    for (const std::string& name : names) {
        const int row = rows.Insert(-1, name.c_str());
        rows.SetText(row, 1, ("t" + std::to_string(row)).c_str());
    }
    // Delete and insert near the end so the gap sits mid-list when the sort begins.
    rows.Insert(3, "tmp");
    rows.Delete(3);
    for (int i = 0; i < rows.Count(); ++i) {
        rows.SetData(i, i);
    }
    rows.SetState(1, LVIS_SELECTED, LVIS_SELECTED);
    rows.SetState(5, kBoth, kBoth);

    int calls = 0;
    rows.Sort([&](LPARAM a, LPARAM b) {
        ++calls;
        EXPECT_EQ(rows.Text(static_cast<int>(a), 0), names[a].c_str());
        EXPECT_EQ(rows.Text(static_cast<int>(b), 0), names[b].c_str());
        EXPECT_EQ(rows.Data(static_cast<int>(a)), a);
        return rows.Text(static_cast<int>(a), 0)
            .View()
            .compare(rows.Text(static_cast<int>(b), 0).View());
    });
    EXPECT_GT(calls, 0);

    // Equal names keep their order (t2 before t5, t1 before t4); everything travels.
    EXPECT_EQ(Column0(rows), (Texts{"a", "a", "b", "b", "c", "d"}));
    const Texts column1 = {"t2", "t5", "t1", "t4", "t3", "t0"};
    const LPARAM data[] = {2, 5, 1, 4, 3, 0};
    for (int i = 0; i < rows.Count(); ++i) {
        EXPECT_EQ(rows.Text(i, 1), column1[i].c_str()) << i;
        EXPECT_EQ(rows.Data(i), data[i]) << i;
    }
    EXPECT_EQ(rows.State(2, kBoth), LVIS_SELECTED);
    EXPECT_EQ(rows.State(1, kBoth), kBoth);
    EXPECT_EQ(rows.FocusedRow(), 1);
    EXPECT_EQ(rows.SelectedCount(), 2);
    EXPECT_EQ(rows.NextSelected(-1), 1);
    EXPECT_EQ(rows.NextSelected(1), 2);
    EXPECT_EQ(rows.NextSelected(2), -1);
}

TEST(ListRowsTest, SortWithAnInconsistentCallbackKeepsEveryRow) {
    ListRows rows;
    Texts before;
    for (int i = 0; i < 500; ++i) {
        before.push_back(std::to_string(i));
        rows.Insert(0, before.back().c_str());
    }
    std::mt19937 random(7);
    rows.Sort([&](LPARAM, LPARAM) { return static_cast<int>(random() % 3) - 1; });
    Texts after = Column0(rows);
    std::sort(before.begin(), before.end());
    std::sort(after.begin(), after.end());
    EXPECT_EQ(after, before);
}

TEST(ListRowsTest, SortAbandonedWhenTheCallbackChangesTheList) {
    ListRows rows = RowsOf({"b", "a", "c"});
    rows.SetData(1, 1);
    rows.SetData(2, 2);
    bool deleted = false;
    rows.Sort([&](LPARAM a, LPARAM b) {
        if (!deleted) {
            deleted = rows.Delete(0);
        }
        return static_cast<int>(b - a);
    });
    EXPECT_EQ(Column0(rows), (Texts{"a", "c"}));
}

// Random operations, biased toward the program's short gap moves but with long jumps and
// growth too, checked after every step against a plain vector.
TEST(ListRowsTest, MatchesAVectorModelUnderRandomOperations) {
    struct ModelRow {
        std::string text0;
        std::string text1;
        UINT selected = 0;
        LPARAM data = 0;
    };
    std::vector<ModelRow> model;
    int focused = -1;
    ListRows rows;
    std::mt19937 random(20240611);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    int cursor = 0;  // a walking position, so most operations land near the previous one

    for (int step = 0; step < 6000; ++step) {
        const int n = static_cast<int>(model.size());
        const int near = std::clamp(cursor + pick(-2, 2), 0, std::max(n - 1, 0));
        const int where = pick(0, 3) == 0 ? pick(0, std::max(n - 1, 0)) : near;
        const int op = pick(0, 99);
        const std::string text = "r" + std::to_string(step);
        if (op < 40) {
            const int index = pick(0, 19) == 0 ? pick(-3, n + 3) : (pick(0, 2) == 0 ? 0 : where);
            const int at = (index < 0 || index > n) ? n : index;
            ASSERT_EQ(rows.Insert(index, text.c_str()), at);
            model.insert(model.begin() + at, ModelRow{text, "", 0, 0});
            if (focused >= at) {
                ++focused;
            }
            cursor = at;
        } else if (op < 65) {
            const int index = pick(0, 29) == 0 ? n : where;
            ASSERT_EQ(rows.Delete(index), index < n);
            if (index < n) {
                model.erase(model.begin() + index);
                focused = focused == index ? -1 : focused > index ? focused - 1 : focused;
            }
            cursor = index;
        } else if (op < 75 && n > 0) {
            const int column = pick(0, 1);
            ASSERT_TRUE(rows.SetText(where, column, text.c_str()));
            (column == 0 ? model[where].text0 : model[where].text1) = text;
        } else if (op < 88 && n > 0) {
            const UINT mask = static_cast<UINT>(pick(1, 3));
            const UINT state = static_cast<UINT>(pick(0, 3));
            ASSERT_TRUE(rows.SetState(where, state, mask));
            if (mask & LVIS_SELECTED) {
                model[where].selected = state & LVIS_SELECTED;
            }
            if (mask & LVIS_FOCUSED) {
                focused = (state & LVIS_FOCUSED) ? where : focused == where ? -1 : focused;
            }
        } else if (op < 96 && n > 0) {
            const LPARAM data = pick(0, 9);
            ASSERT_TRUE(rows.SetData(where, data));
            model[where].data = data;
        } else if (op < 99) {
            std::vector<int> order(model.size());
            for (int i = 0; i < n; ++i) {
                order[i] = i;
            }
            std::stable_sort(order.begin(), order.end(),
                             [&](int a, int b) { return model[a].data < model[b].data; });
            std::vector<ModelRow> sorted;
            int sortedFocus = -1;
            for (int i = 0; i < n; ++i) {
                sorted.push_back(model[order[i]]);
                if (order[i] == focused) {
                    sortedFocus = i;
                }
            }
            model = sorted;
            focused = sortedFocus;
            rows.Sort([](LPARAM a, LPARAM b) { return static_cast<int>(a - b); });
        } else if (pick(0, 19) == 0) {
            rows.DeleteAll();
            model.clear();
            focused = -1;
        }

        ASSERT_EQ(rows.Count(), static_cast<int>(model.size())) << "step " << step;
        ASSERT_EQ(rows.FocusedRow(), focused) << "step " << step;
        int selected = 0;
        int next = -1;
        for (int i = 0; i < rows.Count(); ++i) {
            const ModelRow& m = model[i];
            ASSERT_EQ(rows.Text(i, 0), m.text0.c_str()) << "step " << step << " row " << i;
            ASSERT_EQ(rows.Text(i, 1), m.text1.c_str()) << "step " << step << " row " << i;
            ASSERT_EQ(rows.Data(i), m.data) << "step " << step << " row " << i;
            const UINT state = m.selected | (i == focused ? LVIS_FOCUSED : 0u);
            ASSERT_EQ(rows.State(i, kBoth), state) << "step " << step << " row " << i;
            if (m.selected) {
                ++selected;
                ASSERT_EQ(rows.NextSelected(next), i) << "step " << step;
                next = i;
            }
        }
        ASSERT_EQ(rows.NextSelected(next), -1) << "step " << step;
        ASSERT_EQ(rows.SelectedCount(), selected) << "step " << step;
    }
}

}  // namespace
